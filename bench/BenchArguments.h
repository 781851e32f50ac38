#pragma once

// The arguments of the headless benchmarks: SIZE [RUNS] [--write FILE], SIZE
// being how large a program to make and FILE where to save it as a source.

#include <cstddef>
#include <cstdlib>
#include <string>

struct BenchArguments {
    std::size_t size;
    int runs;
    std::string writeTo; // empty: the program is not saved
};

inline BenchArguments benchArguments(int argc, char** argv, BenchArguments defaults) {
    BenchArguments arguments = defaults;
    for (int i = 1, positional = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--write" && i + 1 < argc)
            arguments.writeTo = argv[++i];
        else if (arg.starts_with("--"))
            continue; // a benchmark's own option
        else if (positional++ == 0)
            arguments.size = std::strtoul(argv[i], nullptr, 10);
        else
            arguments.runs = std::atoi(argv[i]);
    }
    return arguments;
}
