// The address stack of eight slots with the PC among them, 14-bit addresses,
// and the interrupt that ends a halt.

#include "Instructions.h"
#include "Programs.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Routine n at 01000 + 0100 n calls routine n + 1 up to `depth`, which returns;
// each records, on its way back, its number in memory at 03000 + n.
std::vector<std::string> nestedCalls(int depth) {
    std::vector<std::string> lines{"\tCAL R1", "\tHLT"};
    for (int n = 1; n <= depth; ++n) {
        const std::string name = "R" + std::to_string(n);
        lines.push_back("\tORG 1000B+" + std::to_string(n) + "*100B");
        lines.push_back(name + (n < depth ? "\tCAL R" + std::to_string(n + 1) : "\tRLC"));
        lines.push_back("\tLHLI 3000B+" + std::to_string(n));
        lines.push_back("\tLMI " + std::to_string(n));
        lines.push_back("\tRET");
    }
    return lines;
}

TEST(Stack, SevenNestedCallsReturnAlongTheirWay) {
    Machine machine;
    ASSERT_TRUE(assembleInto(machine, nestedCalls(7)));
    EXPECT_EQ(machine.run(), StopReason::halted);
    EXPECT_EQ(machine.cpu.pc(), 4); // after the HLT behind the first call
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(machine.memory[03000 + n], n);
    EXPECT_FALSE(machine.lostReturnSlot);
    EXPECT_EQ(machine.callDepth, 0u);
}

TEST(Stack, AnEighthCallOverwritesTheOldestReturnAddress) {
    Machine machine;
    ASSERT_TRUE(assembleInto(machine, nestedCalls(8)));
    // The eighth call made the slot of the first return address the PC of
    // routine 8, and the slot kept what it held when routine 8 returned: the
    // address after that RET. Routines 8 to 2 return as they should; routine 1
    // returns there, to the byte after routine 8 (000, a halt), never to the
    // HLT after the first call.
    EXPECT_EQ(machine.run(), StopReason::halted);
    ASSERT_TRUE(machine.lostReturnSlot);
    EXPECT_EQ(*machine.lostReturnSlot, 0);
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(machine.memory[03000 + n], n);
    EXPECT_EQ(machine.cpu.pc(), 02011); // routine 8 is RLC, LHLI, LMI and RET from 002000
}

TEST(Stack, ThePcAndJumpsWrapAt14Bits) {
    Machine machine;
    load(machine, 037777, {0002}); // RLC at the last address
    machine.cpu.setPc(037777);
    machine.run(Machine::unlimited, 1);
    EXPECT_EQ(machine.cpu.pc(), 0);

    load(machine, 037776, {0104, 0x10, 0xC0}); // JMP whose last byte wraps to address 0
    machine.cpu.setPc(037776);
    machine.memory[0] = 0xC0;
    machine.run(Machine::unlimited, 1);
    EXPECT_EQ(machine.cpu.pc(), 0x0010);
}

TEST(Interrupt, EndsAHaltAndPushesTheAddressAfterIt) {
    Machine machine;
    load(machine, 020, {0000}); // HLT at 000020
    machine.cpu.setPc(020);
    EXPECT_EQ(machine.run(), StopReason::halted);
    EXPECT_EQ(machine.cpu.pc(), 021);
    EXPECT_EQ(machine.run(), StopReason::halted); // stays halted until an interrupt
    EXPECT_EQ(machine.instructions, 1u);

    machine.interrupt(0015); // RST 1
    EXPECT_EQ(machine.run(Machine::unlimited, 1), StopReason::budget);
    EXPECT_FALSE(machine.cpu.halted);
    EXPECT_EQ(machine.cpu.pc(), 010);
    EXPECT_EQ(machine.cpu.stackPointer, 1);
    EXPECT_EQ(machine.cpu.stack[0], 021);
    EXPECT_EQ(machine.states, 4u + 5u);
}

TEST(Interrupt, IsTakenBetweenInstructionsOfARunningProgram) {
    Machine machine;
    load(machine, 0, {0002, 0002}); // RLC, RLC
    machine.run(Machine::unlimited, 1);
    machine.interrupt(0005); // RST 0
    machine.run(Machine::unlimited, 1);
    EXPECT_EQ(machine.cpu.pc(), 0);
    EXPECT_EQ(machine.cpu.stack[0], 1);
}

TEST(Breakpoints, StopBeforeTheirInstructionButNotBeforeTheFirst) {
    Machine machine;
    load(machine, 0, {0002, 0002, 0002, 0000});
    std::bitset<Machine::memorySize> breakpoints;
    breakpoints[0] = breakpoints[2] = true;
    const Machine::Stops stops{&breakpoints, {}};
    EXPECT_EQ(machine.run(stops), StopReason::breakpoint);
    EXPECT_EQ(machine.cpu.pc(), 2);
    EXPECT_EQ(machine.run(stops), StopReason::halted);
}

TEST(Breakpoints, AReturnBelowADepthStopsTheRun) {
    Machine machine;
    ASSERT_TRUE(
        assembleInto(machine, {"\tCAL SUB", "\tRLC", "\tHLT", "SUB\tCAL INNER", "\tRET", "INNER\tRET"}));
    machine.run(Machine::unlimited, 2); // into INNER
    EXPECT_EQ(machine.callDepth, 2u);
    EXPECT_EQ(machine.run({nullptr, 2u}), StopReason::returned);
    EXPECT_EQ(machine.cpu.pc(), 8); // back in SUB, after its call
}

} // namespace

namespace {

// Whatever memory holds, the machine runs it without stepping outside itself.
TEST(AnyProgram, RunsUntilItStopsWithCountsThatAddUp) {
    std::mt19937 random(8008);
    for (int program = 0; program < 200; ++program) {
        Machine machine;
        for (std::uint8_t& byte : machine.memory)
            byte = static_cast<std::uint8_t>(random());
        machine.ports.terminal()->type("keys");
        machine.ports.terminal()->endInput();
        const StopReason stop = machine.run(Machine::unlimited, 20000);
        EXPECT_LE(machine.instructions, 20000u);
        EXPECT_GE(machine.states, 3 * machine.instructions); // no instruction takes fewer than 3
        EXPECT_LE(machine.states, 11 * machine.instructions);
        EXPECT_LE(machine.cpu.pc(), Cpu::addressMask);
        if (stop == StopReason::undefinedOpcode) {
            EXPECT_FALSE(timingOf(machine.memory[machine.cpu.pc()]).defined);
        }
    }
}

} // namespace

TEST(Budgets, AnInputOrOutputThatEndsPastTheBudgetEndsTheRun) {
    for (const std::uint64_t budget : {1u, 5u, 6u, 7u}) {
        Machine machine;
        load(machine, 0, {0121, 0104, 0, 0}); // OUT 8, JMP 0
        EXPECT_EQ(machine.run(budget), StopReason::budget) << budget;
        EXPECT_EQ(machine.instructions, budget <= 6 ? 1u : 2u) << budget;
    }
}
