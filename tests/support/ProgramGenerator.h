#pragma once

// A large 8008 program of a realistic mix: labels, comments, register and
// immediate instructions, forward jumps and calls, DB strings, EQU and LHLI.

#include <string>
#include <vector>

// Lines made of `block`, {n} standing for the block's number and {next} for the
// next one's, after the `head` lines and up to the last, which ends the program.
inline std::vector<std::string> blocksOf(std::size_t lineCount, const std::vector<std::string>& head,
                                         const std::vector<std::string>& block, const std::string& filler) {
    const auto fill = [](std::string line, std::size_t n) {
        for (const auto& [key, value] : {std::pair{std::string("{n}"), std::to_string(n)},
                                         std::pair{std::string("{next}"), std::to_string(n + 1)}})
            for (std::size_t at; (at = line.find(key)) != std::string::npos;)
                line.replace(at, key.size(), value);
        return line;
    };
    std::vector<std::string> lines(head);
    lines.reserve(lineCount);
    std::size_t n = 0;
    for (; lines.size() + block.size() < lineCount; ++n)
        for (const std::string& line : block)
            lines.push_back(fill(line, n));
    while (lines.size() + 1 < lineCount)
        lines.push_back(filler);
    lines.push_back(fill("B{n}:\tEND", n)); // where the last block jumps to
    return lines;
}

inline std::vector<std::string> generateProgram(std::size_t lineCount) {
    return blocksOf(lineCount, {},
                    {
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
                    },
                    "; the end");
}

// The same program, byte for byte, in the syntax of the Macroassembler AS.
inline std::vector<std::string> generateAsProgram(std::size_t lineCount) {
    return blocksOf(lineCount, {"\tCPU\t8008NEW", "\tINCLUDE\t\"bitfuncs.inc\""},
                    {
                        "; Block {n}: move a byte and test it",
                        "\tORG\t({n}#256)*64\t; keep within 14 bits",
                        "B{n}:\tMVI\tA,{n}#256\t\t; load the block number",
                        "\tMVI\tB,COUNT{n}",
                        "\tLXI\tH,DATA{n}",
                        "\tMOV\tC,M",
                        "\tADD\tC\t\t; add it",
                        "\tCPI\t'Z'",
                        "\tJZ\tB{next}\t\t; on to the next block",
                        "\tCALL\tSUB{n}",
                        "",
                        "SUB{n}:\tINR\tL",
                        "\tANI\t7FH",
                        "\tORI\tlo(DATA{n})",
                        "\tOUT\t8",
                        "\tRET",
                        "COUNT{n}\tEQU\t1+({n}#85)*3",
                        "DATA{n}:\tDB\t\"text of block {n}\",0DH,0AH,0",
                        "\tDW\tB{n},SUB{n}",
                        "\tJMP\tB{next}",
                    },
                    "; the end");
}
