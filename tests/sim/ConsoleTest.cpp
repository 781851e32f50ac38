// The console on its ports: status, typed keys, the screen, and when a program
// that reads it cannot go on by itself.

#include "Console.h"
#include "Programs.h"

#include <gtest/gtest.h>

namespace {

TEST(Console, StatusShowsAWaitingKeyAndReadingTakesIt) {
    Console console;
    EXPECT_EQ(console.status(), 0);
    console.type("a\xC1");
    EXPECT_EQ(console.status(), 1);
    EXPECT_EQ(console.read(), 'a');
    EXPECT_EQ(console.read(), 'A'); // bit 7 cleared
    EXPECT_EQ(console.status(), 0);
    EXPECT_EQ(console.read(), 0);
}

struct ScreenCase {
    const char* name;
    std::string written;
    std::string screen;
};

void PrintTo(const ScreenCase& c, std::ostream* os) {
    *os << c.name;
}

class Screen : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(Screen, ShowsWhatIsWrittenToIt) {
    Console console;
    for (const char c : GetParam().written)
        console.write(static_cast<std::uint8_t>(c));
    EXPECT_EQ(console.takeScreen(), GetParam().screen);
    EXPECT_EQ(console.takeScreen(), "");
}

INSTANTIATE_TEST_SUITE_P(Characters, Screen,
                         ::testing::Values(ScreenCase{"Printable", "Hi there", "Hi there"},
                                           ScreenCase{"CarriageReturnEndsALine", "a\rb", "a\nb"},
                                           ScreenCase{"LineFeedAfterReturnIsNotASecondEnd", "a\r\nb\r\n",
                                                      "a\nb\n"},
                                           ScreenCase{"LoneLineFeedEndsALine", "a\nb\n\n", "a\nb\n\n"},
                                           ScreenCase{"ReturnAfterLineFeedIsASecondEnd", "a\n\rb", "a\n\nb"},
                                           ScreenCase{"MarkParityIsCleared", "\xC8\xC9\x8D\x8A", "HI\n"},
                                           ScreenCase{"NulAndBellShowNothing",
                                                      std::string("a\0\x07"
                                                                  "b",
                                                                  4),
                                                      "ab"},
                                           ScreenCase{"BackspaceMovesBack", "ab\b", "ab\b"},
                                           ScreenCase{"TabStays", "a\tb", "a\tb"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A program that echoes: waits for a key by polling the status, reads it, prints it.
const std::vector<std::string> echo{"WAIT\tINP 0", "\tNDI 1",   "\tJTZ WAIT", "\tINP 1",
                                    "\tOUT 8",     "\tCPI 15B", "\tJFZ WAIT", "\tHLT"};

TEST(Console, AProgramThatOnlyPollsIsWaitingForKeys) {
    Machine machine;
    ASSERT_TRUE(assembleInto(machine, echo));
    EXPECT_EQ(machine.run(), StopReason::waitingForKeys);
    const std::uint64_t polling = machine.instructions;
    EXPECT_LE(polling, 3u * Console::pollsBeforeWaiting);
    machine.ports.terminal()->type("ok\r");
    EXPECT_EQ(machine.run(), StopReason::halted);
    EXPECT_EQ(machine.ports.terminal()->takeScreen(), "ok\n");
}

TEST(Console, AProgramAskingForKeysAtTheEndOfInputStops) {
    Machine machine;
    ASSERT_TRUE(assembleInto(machine, echo));
    machine.ports.terminal()->type("x");
    machine.ports.terminal()->endInput();
    EXPECT_EQ(machine.run(), StopReason::endOfInput);
    EXPECT_EQ(machine.ports.terminal()->takeScreen(), "x");
}

TEST(Console, OtherInputPortsReadWhatTheUserSet) {
    Machine machine;
    ASSERT_TRUE(assembleInto(machine, {"\tINP 2", "\tLBA", "\tINP 7", "\tHLT"}));
    machine.ports.inputValues[7] = 0252;
    EXPECT_EQ(machine.run(), StopReason::halted);
    EXPECT_EQ(machine.cpu.registers[Cpu::B], 0);
    EXPECT_EQ(machine.cpu.registers[Cpu::A], 0252);
}

} // namespace
