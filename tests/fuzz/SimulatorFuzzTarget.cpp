// libFuzzer entry point for brenvik-sim's loaders and runner: the first byte
// chooses what the rest is (an Intel HEX file, a binary image or a source),
// which is loaded and run for a bounded number of states with keys typed. A
// crash, a sanitizer's report or an exit status brenvik-sim never gives is a finding.

#include "SimCommandLine.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr const char* stateBudget = "20000";
constexpr std::array<const char*, 3> programNames{"program.hex", "program.bin", "program.asm"};
constexpr int mostExitStatus = 4;

const std::filesystem::path& folder() {
    static const std::filesystem::path made = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "brenvik-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string path = (folder() / programNames[data[0] % programNames.size()]).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    GivenKeys keys("RUN\n\x03");
    std::ostringstream out, err;
    const int status =
        runSimulator({"--max-states", stateBudget, "--registers", "--load", "100B", path}, keys, out, err);
    if (status < 0 || status > mostExitStatus) {
        std::fprintf(stderr, "exit status %d: %s\n", status, err.str().c_str());
        std::abort();
    }
    return 0;
}
