// Golden files: every tests/golden/NAME.asm is assembled and its listing, its
// error report and its HEX file compared with NAME.lst, NAME.err and NAME.hex;
// the examples' exports are compared with tests/golden/exports.
// regenerate.sh in that folder writes them anew; read every diff by hand.
// tests/golden/as holds sources in AS's syntax with the HEX files that AS itself
// made of them: Brenvik must place the same bytes at the same addresses.

#include "CommandLine.h"
#include "IntelHex.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> sourcesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".asm")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string withoutFolder(std::string text, const std::string& folder) {
    for (std::size_t at; (at = text.find(folder)) != std::string::npos;)
        text.erase(at, folder.size());
    return text;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesItsListingReportAndHexFile) {
    const fs::path golden = GOLDEN_DIR;
    const fs::path base = golden / GetParam();
    const TempFolder output;
    std::ostringstream out, err;
    const int status = runCommandLine({"-l", "-o", output.file("out.hex"), base.string() + ".asm"}, out, err);

    EXPECT_EQ(out.str(), TempFolder::read(base.string() + ".lst"));
    EXPECT_EQ(withoutFolder(err.str(), golden.string() + "/"), TempFolder::read(base.string() + ".err"));
    const bool hasHex = fs::exists(base.string() + ".hex");
    EXPECT_EQ(status, hasHex ? 0 : 1);
    if (hasHex) {
        EXPECT_EQ(TempFolder::read(output.file("out.hex")), TempFolder::read(base.string() + ".hex"));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Golden, ::testing::ValuesIn(sourcesIn(GOLDEN_DIR)),
                         [](const auto& info) { return info.param; });

class Example : public ::testing::TestWithParam<std::string> {};

TEST_P(Example, AssemblesWithoutErrorsOrWarnings) {
    const TempFolder output;
    std::ostringstream out, err;
    const std::string source = std::string(EXAMPLES_DIR) + "/" + GetParam() + ".asm";
    EXPECT_EQ(runCommandLine({"-o", output.file("out.hex"), source}, out, err), 0) << err.str();
    EXPECT_EQ(err.str().find("warning:"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(" bytes assembled"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Programs, Example, ::testing::ValuesIn(sourcesIn(EXAMPLES_DIR)),
                         [](const auto& info) { return info.param; });

// tests/golden/exports: each example's binary image, symbol table, and listing
// with its cross-reference.
class Exported : public ::testing::TestWithParam<std::string> {};

TEST_P(Exported, MatchesItsImageSymbolsAndCrossReference) {
    const fs::path golden = fs::path(GOLDEN_DIR) / "exports" / GetParam();
    const TempFolder output;
    std::ostringstream out, err;
    const std::string source = std::string(EXAMPLES_DIR) + "/" + GetParam() + ".asm";
    ASSERT_EQ(runCommandLine({"-x", "-b", output.file("out.bin"), "-s", output.file("out.sym"), "-o",
                              output.file("out.hex"), source},
                             out, err),
              0);
    EXPECT_EQ(out.str(), TempFolder::read(golden.string() + ".xref"));
    EXPECT_EQ(TempFolder::read(output.file("out.bin")), TempFolder::read(golden.string() + ".bin"));
    EXPECT_EQ(TempFolder::read(output.file("out.sym")), TempFolder::read(golden.string() + ".sym"));
}

INSTANTIATE_TEST_SUITE_P(Examples, Exported, ::testing::ValuesIn(sourcesIn(EXAMPLES_DIR)),
                         [](const auto& info) { return info.param; });

std::map<std::uint32_t, std::uint8_t> bytesOf(const std::string& hexText) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    std::size_t faultLine = 0;
    std::string reason;
    EXPECT_TRUE(readIntelHex(
        hexText, [&](std::uint32_t address, std::uint8_t byte) { bytes[address] = byte; }, faultLine, reason))
        << reason;
    return bytes;
}

class AsGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(AsGolden, PlacesTheBytesThatAsPlaces) {
    const fs::path base = fs::path(GOLDEN_DIR) / "as" / GetParam();
    const TempFolder output;
    std::ostringstream out, err;
    ASSERT_EQ(runCommandLine({"-o", output.file("out.hex"), base.string() + ".asm"}, out, err), 0)
        << err.str();
    EXPECT_EQ(err.str().find("warning:"), std::string::npos) << err.str();
    const auto ours = bytesOf(TempFolder::read(output.file("out.hex")));
    EXPECT_FALSE(ours.empty());
    EXPECT_EQ(ours, bytesOf(TempFolder::read(base.string() + ".hex")));
}

INSTANTIATE_TEST_SUITE_P(Files, AsGolden, ::testing::ValuesIn(sourcesIn(fs::path(GOLDEN_DIR) / "as")),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
