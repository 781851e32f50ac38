#pragma once

// What a stretch of lines costs: the bytes they assemble to, and the states
// their instructions take, from the simulator's timing table. A conditional
// jump, call or return takes more states when taken, so the count is a range.

#include "Program.h"

#include <cstdint>
#include <string>

struct LinesCost {
    std::uint32_t bytes = 0;
    std::uint64_t states = 0;     // every condition failing
    std::uint64_t mostStates = 0; // every condition holding
};

// Lines `first` to `last`, both included.
LinesCost costOfLines(const Program& program, std::uint32_t first, std::uint32_t last);

// "12 bytes, 87 states", or "12 bytes, 87-93 states" for a range.
std::string costText(const LinesCost& cost);
