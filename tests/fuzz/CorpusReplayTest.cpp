// Every stored input (the examples, the golden sources and the fuzz corpus with
// its regression cases) keeps every invariant of a run.

#include "RunChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> storedInputs() {
    std::vector<fs::path> inputs;
    for (const char* folder : {EXAMPLES_DIR, GOLDEN_DIR, CORPUS_DIR})
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file() &&
                (folder == std::string_view(CORPUS_DIR) || entry.path().extension() == ".asm"))
                inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

class CorpusReplay : public testing::TestWithParam<fs::path> {};

TEST_P(CorpusReplay, KeepsEveryInvariant) {
    std::ifstream file(GetParam(), std::ios::binary);
    ASSERT_TRUE(file) << GetParam();
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(checkedRun(bytes).problems, std::vector<std::string>{});
}

std::string testName(const testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.parent_path().filename().string() + "_" + info.param.filename().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Stored, CorpusReplay, testing::ValuesIn(storedInputs()), testName);

} // namespace
