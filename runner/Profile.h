#pragma once

// Where a run's time went: per source line (or, for a program without lines,
// per address) the executions of its instructions and the states they took,
// from the counts a runner keeps. brenvik-sim --profile prints it; the editor
// shows the same figures.

#include "Listing.h"
#include "Machine.h"
#include "Program.h"

#include <cstdint>
#include <string>
#include <vector>

struct ProfileRow {
    int line;              // 0-based; -1 for a program without lines
    std::uint16_t address; // the line's first instruction, or the address counted
    std::uint64_t executions;
    std::uint64_t states;
};

struct Profile {
    std::vector<ProfileRow> rows; // what ran, the most states first, then by line or address
    std::uint64_t states = 0;     // of all rows
    std::uint64_t executions = 0;
};

// A line's executions are those of its first instruction (LHLI is two).
Profile profileOf(const Program& program, const ExecutionCounts& counts);

// The figures of one line: its executions and the states of all its instructions.
ProfileRow lineProfile(const Program& program, const ExecutionCounts& counts, int line);

// The table: a heading, one row per line or address with its share of the
// states, then the total. `source` gives a line's text; a row without a line
// shows its instruction.
std::string profileText(const Profile& profile, const Machine& machine, const SourceLines& source);
