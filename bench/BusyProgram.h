#pragma once

// A CPU-bound 8008 program for the simulator's benchmarks: nested loops of
// loads, arithmetic, rotates, memory reads and writes, and calls. Each pass
// runs the 16 instructions of the inner loop 65,536 times; passes are 1 to 255.

#include <string>
#include <vector>

inline std::vector<std::string> busyProgram(unsigned passes) {
    std::vector<std::string> lines{
        "\tTITLE\tBusy: loads, arithmetic, rotates, memory and calls",
        "PASSES\tEQU\t" + std::to_string(passes),
        "\tORG\t0",
        "START:\tLBI\tPASSES\t\t; outer passes",
        "OUTER:\tLCI\t0\t\t; 256 middle passes",
        "MIDDLE:\tLHLI\tTABLE",
        "\tLDI\t0\t\t; 256 bytes of the table",
        "INNER:\tLAM\t\t\t; read",
        "\tADC",
        "\tXRD",
        "\tRLC",
        "\tRAR",
        "\tNDI\t177B",
        "\tORB",
        "\tLMA\t\t\t; write",
        "\tCAL\tMIX",
        "\tINL",
        "\tDCD",
        "\tJFZ\tINNER",
        "\tDCC",
        "\tJFZ\tMIDDLE",
        "\tDCB",
        "\tJFZ\tOUTER",
        "\tHLT",
        "MIX:\tLEA",
        "\tADE",
        "\tSUI\t3",
        "\tRET",
        "\tORG\t400B",
        "TABLE:",
    };
    for (int row = 0; row < 16; ++row) {
        std::string db = "\tDB\t";
        for (int i = 0; i < 16; ++i)
            db += std::to_string((row * 16 + i) * 7 % 256) + (i < 15 ? "," : "");
        lines.push_back(db);
    }
    lines.push_back("\tEND");
    return lines;
}
