#pragma once

// What the 8008 does with each of its 256 opcodes, as far as length and time
// go: the table the simulator counts states with, and the editor adds up for a
// selection of lines.

#include <array>
#include <cstdint>

struct InstructionTiming {
    std::uint8_t length;        // bytes, opcode included: 1, 2 or 3
    std::uint8_t states;        // states taken; for a conditional, when its condition fails
    std::uint8_t statesIfTaken; // states when a conditional jump, call or return is taken
    bool defined;               // false for the six opcodes the chip leaves undefined
};

// One state is two clock periods.
constexpr unsigned clockPeriodsPerState = 2;

const std::array<InstructionTiming, 256>& instructionTimings();
inline const InstructionTiming& timingOf(std::uint8_t opcode) {
    return instructionTimings()[opcode];
}

// Whether the opcode calls (CAL, a conditional call, RST) or returns (RET, a conditional return).
bool isCall(std::uint8_t opcode);
bool isReturn(std::uint8_t opcode);
