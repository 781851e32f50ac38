// All 256 opcodes: each one runs with the length and states the 8008's manual
// gives it, or stops the run as undefined. The expectations are the manual's
// table, written as octal patterns, apart from the simulator's own table.

#include "Instructions.h"
#include "Programs.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct ManualRow {
    std::string_view pattern; // three octal digits; d, s, c, p, n stand for any digit
    int length;
    int states;
    int statesIfTaken;
};

// In the order they are tried: the first row whose pattern fits an opcode holds.
// clang-format off
constexpr ManualRow manual[] = {
    {"000", 1, 4, 4},  {"001", 1, 4, 4},  {"377", 1, 4, 4},  // HLT
    {"070", 0, 0, 0},  {"071", 0, 0, 0},                       // undefined: INM, DCM
    {"042", 0, 0, 0},  {"052", 0, 0, 0},  {"062", 0, 0, 0},  {"072", 0, 0, 0}, // undefined rotates
    {"0d0", 1, 5, 5},  {"0d1", 1, 5, 5},                       // INr, DCr
    {"0c2", 1, 5, 5},                                          // RLC RRC RAL RAR
    {"0c3", 1, 3, 5},                                          // RFc, RTc
    {"0p4", 2, 8, 8},                                          // ADI ... CPI
    {"0n5", 1, 5, 5},                                          // RST
    {"076", 2, 9, 9},  {"0d6", 2, 8, 8},                       // LMI, LrI
    {"0d7", 1, 5, 5},                                          // RET
    {"1c0", 3, 9, 11}, {"1c2", 3, 9, 11},                      // JFc/JTc, CFc/CTc
    {"1d4", 3, 11, 11}, {"1d6", 3, 11, 11},                    // JMP, CAL
    {"10s", 1, 8, 8},  {"11s", 1, 8, 8},                       // INP 0-7 (odd last digit)
    {"1ds", 1, 6, 6},                                          // OUT 8-31 (odd last digit)
    {"2p7", 1, 8, 8},  {"2ps", 1, 5, 5},                       // arithmetic with M, with r
    {"3d7", 1, 8, 8},  {"37s", 1, 7, 7},  {"3ds", 1, 5, 5},    // LrM, LMr, Lrr'
};
// clang-format on

// Letters fit any digit. Even opcodes of group 1 are jumps and calls, which rows
// before the I/O rows take.
bool fits(std::string_view pattern, unsigned op) {
    const unsigned digits[] = {op >> 6, (op >> 3) & 7, op & 7};
    for (std::size_t i = 0; i < 3; ++i)
        if (pattern[i] >= '0' && pattern[i] <= '7' && static_cast<unsigned>(pattern[i] - '0') != digits[i])
            return false;
    return true;
}

const ManualRow& rowOf(unsigned op) {
    for (const ManualRow& row : manual)
        if (fits(row.pattern, op))
            return row;
    throw std::logic_error("no row for an opcode");
}

bool transfersControl(unsigned op) {
    return isCall(static_cast<std::uint8_t>(op)) || isReturn(static_cast<std::uint8_t>(op)) ||
           ((op >> 6) == 1 && (op & 1) == 0); // jumps
}

TEST(OpcodeWalk, EveryOpcodeRunsAsTheManualSaysOrStopsAsUndefined) {
    int undefined = 0;
    for (unsigned op = 0; op < 256; ++op) {
        const ManualRow& row = rowOf(op);
        Machine machine;
        load(machine, 0100, {static_cast<std::uint8_t>(op), 0x00, 0x02});
        machine.cpu.setPc(0100);
        const StopReason stop = machine.run(Machine::unlimited, 1);
        const std::string name{'o',
                               'p',
                               'c',
                               'o',
                               'd',
                               'e',
                               ' ',
                               static_cast<char>('0' + (op >> 6)),
                               static_cast<char>('0' + ((op >> 3) & 7)),
                               static_cast<char>('0' + (op & 7))};
        if (row.length == 0) {
            ++undefined;
            EXPECT_EQ(stop, StopReason::undefinedOpcode) << name;
            EXPECT_EQ(machine.cpu.pc(), 0100) << name;
            EXPECT_EQ(machine.states, 0u) << name;
            EXPECT_FALSE(timingOf(static_cast<std::uint8_t>(op)).defined) << name;
            continue;
        }
        EXPECT_NE(stop, StopReason::undefinedOpcode) << name;
        EXPECT_EQ(machine.instructions, 1u) << name;
        EXPECT_TRUE(machine.states == static_cast<unsigned>(row.states) ||
                    machine.states == static_cast<unsigned>(row.statesIfTaken))
            << name << " took " << machine.states;
        if (!transfersControl(op)) {
            EXPECT_EQ(machine.cpu.pc(), 0100 + row.length) << name;
        }
        const InstructionTiming& timing = timingOf(static_cast<std::uint8_t>(op));
        EXPECT_EQ(timing.length, row.length) << name;
        EXPECT_EQ(timing.states, row.states) << name;
        EXPECT_EQ(timing.statesIfTaken, row.statesIfTaken) << name;
    }
    EXPECT_EQ(undefined, 6);
}

} // namespace
