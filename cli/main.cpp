#include "CommandConventions.h"
#include "CommandLine.h"

#include <csignal>
#include <iostream>
#include <new>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // A reader that goes away (`| head`) is a write that fails, told and exited with 2.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return runCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "brenvik-asm: out of memory\n";
        return exitFailure;
    }
}
