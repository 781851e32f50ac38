// Every group of instructions, one instruction at a time: its effect on the
// registers, memory and each flag, the PC and stack after it, and its states.

#include "Programs.h"

#include <gtest/gtest.h>

namespace {

constexpr int any = -1;

// What the tests set before an instruction and look at after it; `any` is
// neither set nor looked at. M is the byte at H:L.
struct State {
    int a = any, b = any, c = any, h = any, l = any, m = any;
    int carry = any, zero = any, sign = any, parity = any;
    int pc = any, sp = any;
};

struct InstructionCase {
    const char* name;
    std::vector<std::uint8_t> code; // at 000000
    State before;
    State after;
    int states;
};

void PrintTo(const InstructionCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr std::uint16_t defaultHl = 0x0180; // where M is unless H or L are set

void set(Machine& machine, const State& s) {
    Cpu& cpu = machine.cpu;
    const auto reg = [](int v, std::uint8_t& r) {
        if (v != any)
            r = static_cast<std::uint8_t>(v);
    };
    cpu.registers[Cpu::H] = defaultHl >> 8;
    cpu.registers[Cpu::L] = defaultHl & 0xFF;
    reg(s.a, cpu.registers[Cpu::A]);
    reg(s.b, cpu.registers[Cpu::B]);
    reg(s.c, cpu.registers[Cpu::C]);
    reg(s.h, cpu.registers[Cpu::H]);
    reg(s.l, cpu.registers[Cpu::L]);
    if (s.m != any)
        machine.memory[cpu.hl()] = static_cast<std::uint8_t>(s.m);
    const auto flag = [](int v, bool& f) {
        if (v != any)
            f = v != 0;
    };
    flag(s.carry, cpu.carry);
    flag(s.zero, cpu.zero);
    flag(s.sign, cpu.sign);
    flag(s.parity, cpu.parity);
    if (s.sp != any) {
        cpu.stackPointer = static_cast<std::uint8_t>(s.sp);
        cpu.setPc(0);
    }
}

class Instruction : public ::testing::TestWithParam<InstructionCase> {};

TEST_P(Instruction, HasItsEffectAndTakesItsStates) {
    const InstructionCase& c = GetParam();
    Machine machine;
    // Return addresses a RET finds: slot n holds 01000 + n.
    for (std::uint16_t slot = 0; slot < Cpu::stackSlots; ++slot)
        machine.cpu.stack[slot] = 01000 + slot;
    set(machine, c.before);
    machine.cpu.setPc(0);
    load(machine, 0, c.code);
    machine.ports.inputValues[3] = 0132;

    const StopReason stop = machine.run(Machine::unlimited, 1);

    EXPECT_NE(stop, StopReason::undefinedOpcode);
    const Cpu& cpu = machine.cpu;
    const auto expect = [&](int want, int got, const char* what) {
        if (want != any) {
            EXPECT_EQ(got, want) << what;
        }
    };
    expect(c.after.a, cpu.registers[Cpu::A], "A");
    expect(c.after.b, cpu.registers[Cpu::B], "B");
    expect(c.after.c, cpu.registers[Cpu::C], "C");
    expect(c.after.h, cpu.registers[Cpu::H], "H");
    expect(c.after.l, cpu.registers[Cpu::L], "L");
    expect(c.after.m, machine.memory[cpu.hl()], "M");
    expect(c.after.carry, cpu.carry, "carry");
    expect(c.after.zero, cpu.zero, "zero");
    expect(c.after.sign, cpu.sign, "sign");
    expect(c.after.parity, cpu.parity, "parity");
    expect(c.after.pc, cpu.pc(), "PC");
    expect(c.after.sp, cpu.stackPointer, "SP");
    EXPECT_EQ(machine.states, static_cast<std::uint64_t>(c.states));
    EXPECT_EQ(machine.instructions, 1u);
}

// Octal opcodes; registers in octal too, where it reads better.
// clang-format off
const InstructionCase instructionCases[] = {
    // Loads change no flag.
    {"LAB", {0301}, {.a = 0, .b = 5, .carry = 1, .zero = 1}, {.a = 5, .carry = 1, .zero = 1, .pc = 1}, 5},
    {"LAM", {0307}, {.m = 0x42}, {.a = 0x42, .pc = 1}, 8},
    {"LMA", {0370}, {.a = 0x33}, {.m = 0x33}, 7},
    {"LAI", {0006, 0177}, {.zero = 0}, {.a = 0177, .zero = 0, .pc = 2}, 8},
    {"LMI", {0076, 0231}, {}, {.m = 0231, .pc = 2}, 9},
    // INr and DCr leave the carry as it is.
    {"INBToZero", {0010}, {.b = 0xFF, .carry = 1}, {.b = 0, .carry = 1, .zero = 1, .sign = 0, .parity = 1}, 5},
    {"INLToSign", {0060}, {.l = 0x7F, .carry = 0}, {.l = 0x80, .carry = 0, .zero = 0, .sign = 1, .parity = 0}, 5},
    {"DCCBelowZero", {0021}, {.c = 0, .carry = 0}, {.c = 0xFF, .carry = 0, .zero = 0, .sign = 1, .parity = 1}, 5},
    {"DCH", {0051}, {.h = 3}, {.h = 2, .parity = 0}, 5},
    // Arithmetic with registers: the carry is the carry out, or the borrow.
    {"ADBCarries", {0201}, {.a = 0xF0, .b = 0x20}, {.a = 0x10, .carry = 1, .zero = 0, .sign = 0, .parity = 0}, 5},
    {"ACBAddsTheCarry", {0211}, {.a = 0x0F, .b = 0, .carry = 1}, {.a = 0x10, .carry = 0}, 5},
    {"SUBBorrows", {0221}, {.a = 0x10, .b = 0x20}, {.a = 0xF0, .carry = 1, .sign = 1, .parity = 1}, 5},
    {"SUBWithoutBorrow", {0221}, {.a = 0x20, .b = 0x10, .carry = 1}, {.a = 0x10, .carry = 0}, 5},
    {"SBBSubtractsTheBorrow", {0231}, {.a = 0x10, .b = 0x10, .carry = 1}, {.a = 0xFF, .carry = 1}, 5},
    {"SBBToZero", {0231}, {.a = 0x10, .b = 0x0F, .carry = 1}, {.a = 0, .carry = 0, .zero = 1}, 5},
    {"NDBClearsTheCarry", {0241}, {.a = 0xF0, .b = 0x3C, .carry = 1}, {.a = 0x30, .carry = 0, .parity = 1}, 5},
    {"XRAClears", {0250}, {.a = 0x55, .carry = 1}, {.a = 0, .carry = 0, .zero = 1, .parity = 1}, 5},
    {"ORB", {0261}, {.a = 1, .b = 2}, {.a = 3, .parity = 1}, 5},
    {"CPBLeavesA", {0271}, {.a = 5, .b = 7}, {.a = 5, .carry = 1, .zero = 0, .sign = 1, .parity = 0}, 5},
    {"CPBEqual", {0271}, {.a = 7, .b = 7, .carry = 1}, {.a = 7, .carry = 0, .zero = 1}, 5},
    {"CPBGreater", {0271}, {.a = 9, .b = 7}, {.a = 9, .carry = 0, .zero = 0}, 5},
    {"ADM", {0207}, {.a = 1, .m = 2}, {.a = 3}, 8},
    {"CPM", {0277}, {.a = 2, .m = 3}, {.a = 2, .carry = 1}, 8},
    // Parity counts all eight bits: 0x81 has two.
    {"ParityOfEveryBit", {0064, 0x81}, {.a = 0}, {.a = 0x81, .sign = 1, .parity = 1}, 8},
    {"ParityOdd", {0064, 0x80}, {.a = 0}, {.a = 0x80, .parity = 0}, 8},
    // Arithmetic with an immediate byte.
    {"ADI", {0004, 1}, {.a = 0xFF}, {.a = 0, .carry = 1, .zero = 1, .pc = 2}, 8},
    {"SUI", {0024, 1}, {.a = 0}, {.a = 0xFF, .carry = 1}, 8},
    {"SBI", {0034, 0}, {.a = 0, .carry = 1}, {.a = 0xFF, .carry = 1}, 8},
    {"NDI", {0044, 0x0F}, {.a = 0xF3, .carry = 1}, {.a = 3, .carry = 0}, 8},
    {"CPI", {0074, 0x30}, {.a = 0x30}, {.a = 0x30, .carry = 0, .zero = 1}, 8},
    // Rotates touch the carry alone.
    {"RLC", {0002}, {.a = 0x81, .carry = 0, .zero = 1}, {.a = 0x03, .carry = 1, .zero = 1}, 5},
    {"RRC", {0012}, {.a = 0x01, .carry = 0}, {.a = 0x80, .carry = 1}, 5},
    {"RAL", {0022}, {.a = 0x80, .carry = 0, .zero = 0}, {.a = 0, .carry = 1, .zero = 0}, 5},
    {"RAR", {0032}, {.a = 0x01, .carry = 1, .sign = 0}, {.a = 0x80, .carry = 1, .sign = 0}, 5},
    // Jumps use the low six bits of the high address byte.
    {"JMP", {0104, 0x23, 0x01}, {}, {.pc = 0x0123, .sp = 0}, 11},
    {"JMPHighBitsIgnored", {0104, 0x00, 0xFF}, {}, {.pc = 0x3F00}, 11},
    {"JTZTaken", {0150, 0x00, 0x02}, {.zero = 1}, {.pc = 0x0200}, 11},
    {"JTZNotTaken", {0150, 0x00, 0x02}, {.zero = 0}, {.pc = 3}, 9},
    {"JFCTaken", {0100, 0x00, 0x02}, {.carry = 0}, {.pc = 0x0200}, 11},
    {"JTSNotTaken", {0160, 0x00, 0x02}, {.sign = 0}, {.pc = 3}, 9},
    {"JFPTaken", {0130, 0x00, 0x02}, {.parity = 0}, {.pc = 0x0200}, 11},
    {"CAL", {0106, 0x00, 0x03}, {}, {.pc = 0x0300, .sp = 1}, 11},
    {"CTCTaken", {0142, 0x00, 0x03}, {.carry = 1}, {.pc = 0x0300, .sp = 1}, 11},
    {"CFZNotTaken", {0112, 0x00, 0x03}, {.zero = 1}, {.pc = 3, .sp = 0}, 9},
    {"RET", {0007}, {.sp = 1}, {.pc = 01000, .sp = 0}, 5},
    {"RETOtherEncoding", {0077}, {.sp = 3}, {.pc = 01002, .sp = 2}, 5},
    {"RTZTaken", {0053}, {.zero = 1, .sp = 1}, {.pc = 01000, .sp = 0}, 5},
    {"RFZNotTaken", {0013}, {.zero = 1, .sp = 1}, {.pc = 1, .sp = 1}, 3},
    {"RST3", {0035}, {}, {.pc = 030, .sp = 1}, 5},
    // Input and output change no flag.
    {"INP3", {0107}, {.zero = 1}, {.a = 0132, .zero = 1, .pc = 1}, 8},
    {"OUT8", {0121}, {.a = 1}, {.pc = 1}, 6},
    {"HLT", {0000}, {}, {.pc = 1}, 4},
    {"HLTAsLMM", {0377}, {}, {.pc = 1}, 4},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Groups, Instruction, ::testing::ValuesIn(instructionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Instruction, MemoryIsAddressedByTheLowSixBitsOfH) {
    Machine machine;
    machine.memory[0x0105] = 0x77;
    machine.cpu.registers[Cpu::H] = 0301; // 0xC1: only 001 counts
    machine.cpu.registers[Cpu::L] = 0x05;
    load(machine, 0, {0307}); // LAM
    machine.run(Machine::unlimited, 1);
    EXPECT_EQ(machine.cpu.registers[Cpu::A], 0x77);
}

TEST(Instruction, CallsLeaveTheReturnAddressInTheSlotBelow) {
    Machine machine;
    load(machine, 0100, {0106, 0x00, 0x03}); // CAL 001400 at 000100
    machine.cpu.setPc(0100);
    machine.run(Machine::unlimited, 1);
    EXPECT_EQ(machine.cpu.stack[0], 0103);
    EXPECT_EQ(machine.callDepth, 1u);
}

TEST(Instruction, OutputsAreRecordedPerPort) {
    Machine machine;
    load(machine, 0, {0006, 0x41, 0121, 0177, 0000}); // LAI "A", OUT 8, OUT 31, HLT
    EXPECT_EQ(machine.run(), StopReason::halted);
    EXPECT_EQ(machine.ports.lastOutput[8], 0x41);
    EXPECT_EQ(machine.ports.lastOutput[31], 0x41);
    EXPECT_TRUE(machine.ports.written[31]);
    EXPECT_FALSE(machine.ports.written[9]);
    EXPECT_EQ(machine.ports.terminal()->takeScreen(), "A");
}

} // namespace
