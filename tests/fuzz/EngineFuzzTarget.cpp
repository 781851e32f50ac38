// libFuzzer entry point: any bytes are a source; a broken invariant is a crash.

#include "RunChecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto problems = checkedRun({reinterpret_cast<const char*>(data), size}).problems;
    for (const std::string& problem : problems)
        std::fprintf(stderr, "%s\n", problem.c_str());
    if (!problems.empty())
        std::abort();
    return 0;
}
