#include "CommandConventions.h"
#include "CommandLine.h"

#include <iostream>
#include <new>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        return runCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "brenvik-asm: out of memory\n";
        return exitFailure;
    }
}
