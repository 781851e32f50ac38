// A live run: how each kind of program ends and what it says, the figures per
// line, and the same outcome whatever the slices.

#include "LiveRun.h"
#include "Assembled.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const std::vector<std::string> countdown{"\tLBI 5", "LOOP\tDCB", "\tJFZ LOOP", "\tHLT"};
const std::vector<std::string> echo{"WAIT\tINP 0", "\tNDA", "\tJTZ WAIT", "\tINP 1", "\tOUT 8", "\tJMP WAIT"};

LiveResult runThrough(const std::vector<std::string>& source, std::uint64_t budget, const std::string& keys,
                      std::uint64_t slice = 1000) {
    LiveRun run(assembled(source), budget, keys);
    for (int slices = 0; slices < 100000 && !run.advance(slice); ++slices) {
    }
    return run.result();
}

TEST(LiveRun, EachKindOfProgramEndsAsItShouldAndSaysWhere) {
    struct Case {
        const char* name;
        std::vector<std::string> source;
        std::string keys;
        LiveEnding ending;
        std::string text;
        std::string screen;
    };
    const std::vector<Case> cases{
        {"halts", countdown, "", LiveEnding::halted, "halted at line 4 (000006) after 90 states", ""},
        {"never halts",
         {"\tLAI 1", "LOOP\tJMP LOOP"},
         "",
         LiveEnding::budgetSpent,
         "still running after 1,009 states: the busiest lines are 2 and 1",
         ""},
        {"waits once its keys are read", echo, "AB", LiveEnding::waitingForInput,
         "waiting for input at line 1 (000000)", "AB"},
        {"undefined opcode",
         {"\tLAI 1", "\tDB 042B"},
         "",
         LiveEnding::stopped,
         "undefined opcode 042 at 000002 after 8 states",
         ""},
        {"does not fit",
         {"\tORG 40000B", "\tHLT"},
         "",
         LiveEnding::notLoaded,
         "cannot run: address 040000 is beyond the 8008's 16 KiB of memory (000000 to 037777)",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A budget that only an endless loop spends.
        const LiveResult result =
            runThrough(c.source, c.ending == LiveEnding::budgetSpent ? 1000 : 100000, c.keys);
        EXPECT_EQ(result.ending, c.ending);
        EXPECT_EQ(result.endingText, c.text);
        EXPECT_EQ(result.screen, c.screen);
    }
}

TEST(LiveRun, EveryLineHasItsExactCountsWhateverTheSlices) {
    for (const std::uint64_t slice : {std::uint64_t{1}, std::uint64_t{7}, LiveRun::defaultBudget}) {
        SCOPED_TRACE(slice);
        const LiveResult result = runThrough(countdown, LiveRun::defaultBudget, "", slice);
        ASSERT_EQ(result.lines.size(), countdown.size());
        const std::uint64_t executions[] = {1, 5, 5, 1};
        for (std::size_t line = 0; line < countdown.size(); ++line)
            EXPECT_EQ(result.lines[line].executions, executions[line]) << "line " << line + 1;
        EXPECT_EQ(result.statesOf(0, countdown.size()), result.states);
        EXPECT_EQ(result.busiestLineStates, result.lines[2].states);
        EXPECT_TRUE(result.ranAnyOf(3, 3));
    }
    const LiveResult unreached = runThrough({"\tHLT", "\tLAI 1", "", "\tHLT"}, 1000, "");
    EXPECT_TRUE(unreached.lines[1].hasCode);
    EXPECT_FALSE(unreached.lines[2].hasCode);
    EXPECT_FALSE(unreached.ranAnyOf(1, 3));
}

TEST(LiveRun, FiguresReadAsTheyShould) {
    const std::pair<std::uint64_t, const char*> grouped[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}};
    for (const auto& [number, text] : grouped)
        EXPECT_EQ(groupedDigits(number), text);
    const std::pair<std::uint64_t, const char*> compact[] = {
        {999, "999"},      {1000, "1.0k"},      {1299, "1.2k"},
        {9999, "9.9k"},    {10000, "10k"},      {999999, "999k"},
        {1000000, "1.0M"}, {123456789, "123M"}, {std::numeric_limits<std::uint64_t>::max(), "18E"}};
    for (const auto& [count, text] : compact)
        EXPECT_EQ(compactCount(count), text) << count;
    EXPECT_EQ(lineRunText({true, 0, 0}, 100), "never ran");
    EXPECT_EQ(lineRunText({true, 1, 5}, 100),
              "1 execution, 5 states (5.0% of the run), 5.0 states per execution");
    EXPECT_EQ(lineRunText({true, 4, 44}, 90),
              "4 executions, 44 states (48.9% of the run), 11.0 states per execution");
    EXPECT_EQ(chipTimeText(LiveRun::defaultBudget, 500000), "40.0 s");
    EXPECT_EQ(chipTimeText(1234, 500000), "4.9 ms");
    EXPECT_EQ(chipTimeText(10, 500000), "40.0 µs");
}

} // namespace
