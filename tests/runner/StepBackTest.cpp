// Stepping back: every group of instructions undone exactly, the machine equal
// to what it was before, memory, ports, terminal and counts included; and as
// far back as the history promises after a run at full speed.

#include "Assembled.h"
#include "Console.h"
#include "Runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

// A machine as it was, its terminal's waiting keys and its counts copied out of it.
struct Snapshot {
    Machine machine;
    std::string keys;
    std::string transcript;
    ExecutionCounts counts;
};

std::string waitingKeys(const Machine& machine) {
    Machine copy = machine;
    auto* console = dynamic_cast<Console*>(copy.ports.terminal());
    std::string keys;
    while (console && console->hasKeys())
        keys += static_cast<char>(console->read());
    return keys;
}

Snapshot snapshot(const Runner& runner) {
    return {runner.machine(), waitingKeys(runner.machine()), runner.transcript(), *runner.machine().counts};
}

// Every part of the machine a program or a person can see.
void expectSame(const Snapshot& was, const Runner& runner, const std::string& where) {
    const Machine& a = was.machine;
    const Machine& b = runner.machine();
    EXPECT_EQ(a.cpu.registers, b.cpu.registers) << where;
    EXPECT_EQ(std::make_tuple(a.cpu.carry, a.cpu.zero, a.cpu.sign, a.cpu.parity, a.cpu.halted),
              std::make_tuple(b.cpu.carry, b.cpu.zero, b.cpu.sign, b.cpu.parity, b.cpu.halted))
        << where;
    EXPECT_EQ(a.cpu.stack, b.cpu.stack) << where;
    EXPECT_EQ(a.cpu.stackPointer, b.cpu.stackPointer) << where;
    EXPECT_TRUE(a.memory == b.memory) << where;
    EXPECT_EQ(a.ports.lastOutput, b.ports.lastOutput) << where;
    EXPECT_EQ(a.ports.written, b.ports.written) << where;
    EXPECT_EQ(std::make_tuple(a.states, a.instructions, a.callDepth, a.lostReturnSlot),
              std::make_tuple(b.states, b.instructions, b.callDepth, b.lostReturnSlot))
        << where;
    EXPECT_EQ(was.keys, waitingKeys(b)) << where;
    EXPECT_EQ(was.transcript, runner.transcript()) << where;
    EXPECT_EQ(was.counts.executions, b.counts->executions) << where;
    EXPECT_EQ(was.counts.states, b.counts->states) << where;
}

struct Case {
    const char* name;
    std::vector<std::string> source;
    int steps;
    std::string keys; // typed before the first step
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class StepBack : public ::testing::TestWithParam<Case> {};

TEST_P(StepBack, UndoesEachInstructionExactly) {
    const Case& c = GetParam();
    Runner runner;
    runner.countExecutions(true);
    loadInto(runner, c.source);
    runner.type(c.keys);
    std::vector<Snapshot> before;
    for (int i = 0; i < c.steps; ++i) {
        before.push_back(snapshot(runner));
        runner.takeScreen();
        runner.stepInto();
    }
    for (int i = c.steps - 1; i >= 0; --i) {
        ASSERT_TRUE(runner.stepBack()) << "step " << i;
        expectSame(before[static_cast<std::size_t>(i)], runner, "back to before step " + std::to_string(i));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Groups, StepBack,
    ::testing::Values(Case{"LoadsArithmeticAndRotates",
                           {"\tLAI 5", "\tADI 373B", "\tLBA", "\tSUB", "\tACI 1", "\tSBB", "\tNDI 17B",
                            "\tORI 40B", "\tXRI 1", "\tCPI 7", "\tRLC", "\tRRC", "\tRAL", "\tRAR", "\tINB",
                            "\tDCB", "\tHLT"},
                           17,
                           {}},
                      Case{"MemoryThroughM",
                           {"\tLHI 1", "\tLLI 0", "\tLMI 7", "\tLAI 9", "\tLMA", "\tLBM", "\tADM", "\tINL",
                            "\tLMB", "\tHLT"},
                           10,
                           {}},
                      Case{"JumpsCallsAndReturnsTakenOrNot",
                           {"\tLAI 1", "\tCPI 1", "\tJFZ 0", "\tJTZ T", "T\tCTZ S", "\tCFZ S", "\tRST 2",
                            "\tHLT", "\tORG 20B", "\tRET", "S\tRFZ", "\tRTZ"},
                           12,
                           {}},
                      Case{"CallsPastTheSeventhLevel", {"F\tCAL F"}, 12, {}},
                      Case{"OutputToTheConsoleAndOtherPorts",
                           {"\tLAI \"H\"", "\tOUT 8", "\tLAI \"I\"", "\tOUT 8", "\tOUT 31", "\tHLT"},
                           6,
                           {}},
                      Case{"InputFromTheConsole",
                           {"W\tINP 0", "\tNDI 1", "\tJTZ W", "\tINP 1", "\tOUT 8", "\tJMP W"},
                           14,
                           "ab"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StepBackFar, ReachesTenThousandInstructionsBackAfterAFullSpeedRun) {
    const std::vector<std::string> source{"\tLHI 2", "L\tLLI 0",  "\tLMA",  "\tADI 7",
                                          "\tINL",   "\tJFZ L+2", "\tJMP L"};
    Runner runner;
    runner.countExecutions(true);
    loadInto(runner, source);
    runner.runOn();
    for (int slice = 0; slice < 3; ++slice)
        runner.advance(100'000);
    const std::uint64_t ran = runner.machine().instructions;

    // The same way one instruction at a time, keeping the machines to come back to.
    const std::vector<std::uint64_t> backs{1, 2, 1000, History::reach};
    std::map<std::uint64_t, Snapshot> way;
    Runner stepped;
    stepped.countExecutions(true);
    loadInto(stepped, source);
    while (stepped.machine().instructions < ran) {
        stepped.stepInto();
        const std::uint64_t back = ran - stepped.machine().instructions;
        if (std::find(backs.begin(), backs.end(), back) != backs.end())
            way.emplace(back, snapshot(stepped));
    }
    for (std::uint64_t back = 1; back <= History::reach; ++back) {
        ASSERT_TRUE(runner.stepBack()) << back;
        if (way.count(back))
            expectSame(way.at(back), runner, std::to_string(back) + " back");
    }
}

} // namespace
