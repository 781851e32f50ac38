// The runner: its goals, its stops and their texts, breakpoints, the program
// that only polls, the counts, and the program the lines make.

#include "Runner.h"
#include "Assembled.h"
#include "Profile.h"

#include <gtest/gtest.h>

namespace {

// Runs toward the goal until it stops, in small budgets as the editor does.
Stop untilStopped(Runner& runner) {
    for (int slices = 0; slices < 1000; ++slices)
        if (const std::optional<Stop> stop = runner.advance(1000))
            return *stop;
    return {StopReason::budget, "never stopped"};
}

const std::vector<std::string> calls{
    "\tCAL SUB",   // line 1
    "\tLBI 1",     // line 2
    "\tHLT",       // line 3
    "SUB\tLCI 2",  // line 4
    "\tCAL INNER", // line 5
    "\tRET",       // line 6
    "INNER\tRET",  // line 7
};

TEST(Runner, EveryGoalStopsWhereItShouldWithItsText) {
    struct Case {
        const char* name;
        std::vector<int> breakpoints;
        std::function<std::optional<Stop>(Runner&)> goal;
        std::string text;
    };
    const std::vector<Case> cases{
        {"run",
         {},
         [](Runner& r) {
             r.runOn();
             return std::nullopt;
         },
         "Halted by HLT at line 3 (000005)"},
        {"breakpoint",
         {4},
         [](Runner& r) {
             r.runOn();
             return std::nullopt;
         },
         "Breakpoint at line 5 (000010)"},
        {"step into",
         {},
         [](Runner& r) { return std::optional<Stop>(r.stepInto()); },
         "Stepped to line 4 (000006)"},
        {"step over a call", {}, [](Runner& r) { return r.stepOver(); }, "Stepped to line 2 (000003)"},
        {"run to a line",
         {},
         [](Runner& r) {
             r.runTo(5);
             return std::nullopt;
         },
         "Ran to line 6 (000013)"},
    };
    for (const Case& c : cases) {
        Runner runner;
        loadInto(runner, calls);
        runner.setBreakpointLines(c.breakpoints);
        const std::optional<Stop> at_once = c.goal(runner);
        const Stop stop = at_once ? *at_once : untilStopped(runner);
        EXPECT_EQ(stop.text, c.text) << c.name;
    }
}

TEST(Runner, StepOutFinishesTheRoutineAndStepOverRunsAWholeCall) {
    Runner runner;
    loadInto(runner, calls);
    runner.stepInto();               // into SUB
    runner.stepInto();               // LCI 2
    EXPECT_FALSE(runner.stepOver()); // CAL INNER: a goal, not a step
    EXPECT_EQ(untilStopped(runner).text, "Stepped to line 6 (000013)");
    runner.stepOut();
    EXPECT_EQ(untilStopped(runner).text, "Stepped to line 2 (000003)");
    EXPECT_EQ(runner.currentLine(), 1);
}

TEST(Runner, UndefinedOpcodesAndTheEndOfInputStopWithTheirTexts) {
    Runner undefined;
    loadInto(undefined, {"\tLAI 1", "\tDB 42B"});
    undefined.runOn();
    EXPECT_EQ(untilStopped(undefined).text, "Undefined opcode 042 at 000002");

    Runner reading;
    loadInto(reading, {"\tINP 1", "\tJMP 0"});
    reading.machine().ports.terminal()->endInput();
    reading.runOn();
    const Stop stop = untilStopped(reading);
    EXPECT_EQ(stop.reason, StopReason::endOfInput);
    EXPECT_EQ(stop.text, "Waiting for input at end of input");
}

TEST(Runner, AProgramThatOnlyPollsWaitsUntilKeysCome) {
    Runner runner;
    loadInto(runner, {"W\tINP 0", "\tNDI 1", "\tJTZ W", "\tINP 1", "\tOUT 8", "\tHLT"});
    runner.runOn();
    EXPECT_FALSE(runner.advance(1'000'000));
    EXPECT_TRUE(runner.waitingForInput());
    EXPECT_LT(runner.machine().states, 1'000'000u) << "it stopped polling long before the budget";
    runner.type("k");
    EXPECT_FALSE(runner.waitingForInput());
    EXPECT_EQ(untilStopped(runner).reason, StopReason::halted);
    EXPECT_EQ(runner.takeScreen(), "k");
    EXPECT_EQ(runner.takeScreen(), "");
}

TEST(Runner, AnEighthNestedCallIsToldOnce) {
    Runner runner;
    loadInto(runner, {"F\tCAL F"});
    runner.runOn();
    runner.advance(11 * 7);
    EXPECT_FALSE(runner.takeLostReturn());
    runner.advance(11);
    EXPECT_EQ(runner.takeLostReturn(),
              "An 8th nested call overwrote the oldest return address (stack slot 0)");
    EXPECT_FALSE(runner.takeLostReturn());
}

TEST(Runner, CountsEachLinesExecutionsAndStates) {
    Runner runner;
    runner.countExecutions(true);
    loadInto(runner, {"\tLHLI 400B", "\tLBI 3", "L\tDCB", "\tJFZ L", "\tHLT"});
    runner.runOn();
    untilStopped(runner);
    const ExecutionCounts& counts = *runner.machine().counts;
    const struct {
        int line;
        std::uint64_t executions, states;
    } expected[] = {{0, 1, 16}, {1, 1, 8}, {2, 3, 15}, {3, 3, 11 + 11 + 9}, {4, 1, 4}};
    for (const auto& e : expected) {
        const ProfileRow row = lineProfile(runner.program(), counts, e.line);
        EXPECT_EQ(row.executions, e.executions) << e.line;
        EXPECT_EQ(row.states, e.states) << e.line;
    }
    EXPECT_EQ(profileOf(runner.program(), counts).states, runner.machine().states);
}

TEST(Program, KnowsWhereEachLinesInstructionsLieAndWhatTheyCost) {
    const Program program = assembled({"\tORG 10B", "X\tLHLI 400B", "\tDB 1,2,3", "", "\tHLT"});
    EXPECT_EQ(program.lineOf(010), 1);
    EXPECT_EQ(program.lineOf(012), 1) << "LLI, the second half of LHLI";
    EXPECT_EQ(program.lineOf(014), -1) << "data";
    EXPECT_EQ(program.lineOf(017), 4);
    EXPECT_FALSE(program.lineHasInstruction(2));
    EXPECT_EQ(program.addressFrom(2), 017);
    EXPECT_EQ(program.bytesOf(0, 4), 8u);
    const auto [first, last] = program.instructionsOf(1, 4);
    EXPECT_EQ(last - first, 3);
    EXPECT_EQ(assembled({"\tORG 37777B", "\tLAI 1"}).loadProblem(),
              "address 040000 is beyond the 8008's 16 KiB of memory (000000 to 037777)");
}

} // namespace
