#pragma once

// brenvik-asm run in-process, with what it printed.

#include "CommandLine.h"

#include <sstream>
#include <string>
#include <vector>

struct Result {
    int status;
    std::string out;
    std::string err;
};

inline Result asm8008(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}
