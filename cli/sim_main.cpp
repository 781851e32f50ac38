#include "CommandConventions.h"
#include "SimCommandLine.h"

#include <algorithm>
#include <csignal>
#include <iostream>
#include <new>
#include <optional>
#include <unistd.h>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // A reader that goes away (`| head`) is a write that fails, told and exited with 2.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        // Keys typed at a terminal go to the program one by one, unless they come
        // from a file or a pseudo-terminal.
        const bool elsewhere = std::any_of(args.begin(), args.end(), [](const std::string& arg) {
            return arg == "--input" || arg.starts_with("--input=") || arg == "--pty";
        });
        std::optional<RawTerminal> terminal;
        if (!elsewhere)
            terminal.emplace();
        DescriptorKeys keys(STDIN_FILENO);
        return runSimulator(args, keys, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "brenvik-sim: out of memory\n";
        return exitFailure;
    }
}
