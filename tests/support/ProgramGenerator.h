#pragma once

// A large 8008 program of a realistic mix: labels, comments, register and
// immediate instructions, forward jumps and calls, DB strings, EQU and LHLI.

#include <string>
#include <vector>

inline std::vector<std::string> generateProgram(std::size_t lineCount) {
    static const char* const block[] = {
        "* Block {n}: move a byte and test it",
        "\tORG\t({n}%256)*64\t; keep within 14 bits",
        "B{n}:\tLAI\t{n}%256\t\t; load the block number",
        "\tLBI\tCOUNT{n}",
        "\tLHLI\tDATA{n}",
        "\tLCM",
        "\tADC\t\t\t; add it",
        "\tCPI\t\"Z\"",
        "\tJTZ\tB{next}\t\t; on to the next block",
        "\tCAL\tSUB{n}",
        "",
        "SUB{n}:\tINL",
        "\tNDI\t177B",
        "\tORI\tDATA{n}'LO",
        "\tOUT\t8",
        "\tRET",
        "COUNT{n}\tEQU\t1+({n}%85)*3",
        "DATA{n}:\tDB\t\"text of block {n}\",15B,12B,0",
        "\tDW\tB{n},SUB{n}",
        "\tJMP\tB{next}",
    };
    constexpr std::size_t blockSize = sizeof block / sizeof *block;
    const auto fill = [](std::string line, std::size_t n) {
        for (const auto& [key, value] : {std::pair{std::string("{n}"), std::to_string(n)},
                                         std::pair{std::string("{next}"), std::to_string(n + 1)}})
            for (std::size_t at; (at = line.find(key)) != std::string::npos;)
                line.replace(at, key.size(), value);
        return line;
    };
    std::vector<std::string> lines;
    lines.reserve(lineCount);
    std::size_t n = 0;
    for (; lines.size() + blockSize < lineCount; ++n)
        for (const char* line : block)
            lines.push_back(fill(line, n));
    while (lines.size() + 1 < lineCount)
        lines.emplace_back("; the end");
    lines.push_back(fill("B{n}:\tEND", n)); // where the last block jumps to
    return lines;
}
