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

// Octal fields of an opcode: 0ab c  =  (op >> 6), (op >> 3) & 7, op & 7.
namespace opcodeFields {
constexpr unsigned group(unsigned op) {
    return op >> 6;
}
constexpr unsigned middle(unsigned op) {
    return (op >> 3) & 7;
}
constexpr unsigned low(unsigned op) {
    return op & 7;
}
constexpr unsigned memoryRegister = 7;
} // namespace opcodeFields

// The timing of `op`, for tables and for code generated per opcode.
constexpr InstructionTiming timingFor(unsigned op) {
    using namespace opcodeFields;
    switch (group(op)) {
    case 0:
        switch (low(op)) {
        case 0: // INr, HLT at 000, INM undefined at 070
        case 1: // DCr, HLT at 001, DCM undefined at 071
            if (middle(op) == 0)
                return {1, 4, 4, true};
            return {1, 5, 5, middle(op) != memoryRegister};
        case 2: // RLC RRC RAL RAR; 042 052 062 072 undefined
            return {1, 5, 5, middle(op) < 4};
        case 3: // conditional return
            return {1, 3, 5, true};
        case 4: // ALU with an immediate byte
            return {2, 8, 8, true};
        case 5: // RST
            return {1, 5, 5, true};
        case 6: // LrI, LMI
            return middle(op) == memoryRegister ? InstructionTiming{2, 9, 9, true}
                                                : InstructionTiming{2, 8, 8, true};
        default: // RET
            return {1, 5, 5, true};
        }
    case 1:
        switch (low(op)) {
        case 0: // conditional jump
        case 2: // conditional call
            return {3, 9, 11, true};
        case 4: // JMP
        case 6: // CAL
            return {3, 11, 11, true};
        default: // INP for ports 0 to 7, OUT for 8 to 31
            return (op >> 1 & 037) < 8 ? InstructionTiming{1, 8, 8, true} : InstructionTiming{1, 6, 6, true};
        }
    case 2: // ALU with a register, or with M
        return low(op) == memoryRegister ? InstructionTiming{1, 8, 8, true}
                                         : InstructionTiming{1, 5, 5, true};
    default: // loads; 377 is a halt
        if (op == 0377)
            return {1, 4, 4, true};
        if (low(op) == memoryRegister)
            return {1, 8, 8, true};
        return middle(op) == memoryRegister ? InstructionTiming{1, 7, 7, true}
                                            : InstructionTiming{1, 5, 5, true};
    }
}

// One state is two clock periods.
constexpr unsigned clockPeriodsPerState = 2;

const std::array<InstructionTiming, 256>& instructionTimings();
inline const InstructionTiming& timingOf(std::uint8_t opcode) {
    return instructionTimings()[opcode];
}

// The opcode of RST `restart` (0 to 7), as an interrupt jams it in.
constexpr std::uint8_t restartOpcode(unsigned restart) {
    return static_cast<std::uint8_t>(0005 | (restart & 7) << 3);
}

// Whether the opcode calls (CAL, a conditional call, RST) or returns (RET, a conditional return).
bool isCall(std::uint8_t opcode);
bool isReturn(std::uint8_t opcode);
