#include "CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return runCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
