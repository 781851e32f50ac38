// The 8008-SBC's bit-banged serial line: frames decoded from the levels a
// program sets, within the timing a UART tolerates and not beyond; typed keys
// as line levels, back to back; a program that only polls an idle line taken
// as waiting; and whole bit-banged routines on the board, both ways.

#include "SerialLine.h"
#include "MachineDescription.h"
#include "Programs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr unsigned in = 0, out = 8;
constexpr SerialLine::Timing sbcTiming{250'000, 2400}; // 104 1/6 states a bit
constexpr double bitStates = 250'000.0 / 2400;

// `text` sent as frames whose bits last `period` states, one bit time apart.
std::string sent(const std::string& text, double period) {
    SerialLine line(sbcTiming);
    Machine machine;
    double at = 1000;
    for (const char c : text) {
        const auto send = [&](int bit, int level) {
            line.output(out, static_cast<std::uint8_t>(level), static_cast<std::uint64_t>(at + bit * period),
                        machine);
        };
        send(0, 0);
        for (int bit = 0; bit < 8; ++bit)
            send(bit + 1, (static_cast<unsigned char>(c) >> bit) & 1);
        send(9, 1);
        at += 11 * period;
    }
    return line.takeScreen();
}

TEST(SerialLine, SentFramesDecodeWithinAUartsToleranceAndNotBeyond) {
    std::string ascii;
    for (char c = ' '; c < '\x7F'; ++c)
        ascii += c;
    for (const double off : {-0.04, 0.0, 0.04}) {
        SCOPED_TRACE(off);
        EXPECT_EQ(sent(ascii, bitStates * (1 + off)), ascii);
    }
    for (const double off : {-0.2, 0.2}) {
        SCOPED_TRACE(off);
        EXPECT_NE(sent(ascii, bitStates * (1 + off)), ascii);
    }
}

TEST(SerialLine, TypedKeysAreLevelsBitByBitAndBackToBack) {
    SerialLine line(sbcTiming);
    Machine machine;
    EXPECT_EQ(line.input(in, 500, machine), 1) << "idle before any key";
    line.type("AB");
    const std::uint64_t start = 777; // the frame starts when the program first looks
    std::string read;
    for (int frame = 0; frame < 2; ++frame) {
        const double frameStart = start + frame * std::ceil(10 * bitStates);
        EXPECT_EQ(line.input(in, static_cast<std::uint64_t>(frameStart + (frame == 0 ? 0 : 0.5 * bitStates)),
                             machine),
                  0)
            << "start bit";
        unsigned char c = 0;
        for (int bit = 0; bit < 8; ++bit)
            c = static_cast<unsigned char>(
                c | line.input(in, static_cast<std::uint64_t>(frameStart + (bit + 1.5) * bitStates), machine)
                        << bit);
        read += static_cast<char>(c);
        EXPECT_EQ(line.input(in, static_cast<std::uint64_t>(frameStart + 9.5 * bitStates), machine), 1)
            << "stop bit";
    }
    EXPECT_EQ(read, "AB");
    EXPECT_TRUE(line.hasKeys()) << "B's stop bit is still on the line";
    EXPECT_EQ(line.input(in, static_cast<std::uint64_t>(start + 20.5 * bitStates), machine), 1);
    EXPECT_FALSE(line.hasKeys());
}

TEST(SerialLine, ATeletypeSendsKeysOnBit7WithMarkParityAndTwoStopBits) {
    constexpr double teletypeBit = 250'000.0 / 110;
    constexpr unsigned teletypeIn = 5, mark = 0200;
    SerialLine line({250'000, 110}, {.receiveBit = 7, .stopBits = 2, .markParity = true});
    Machine machine;
    const auto at = [&](double bits) {
        return line.input(teletypeIn, static_cast<std::uint64_t>(100 + bits * teletypeBit), machine);
    };
    EXPECT_EQ(at(0), mark) << "idle";
    line.type("AB");
    EXPECT_EQ(at(0), 0) << "A's start bit";
    unsigned key = 0;
    for (int bit = 0; bit < 8; ++bit)
        key |= static_cast<unsigned>(at(bit + 1.5) >> 7) << bit;
    EXPECT_EQ(key, 'A' | 0200u);
    EXPECT_EQ(at(9.5), mark);
    EXPECT_EQ(at(10.5), mark) << "the second stop bit";
    EXPECT_EQ(at(11.5), 0) << "B's start bit";
}

TEST(SerialLine, OnlyPollingAnIdleLineIsWaitingForAKey) {
    SerialLine line(sbcTiming);
    Machine machine;
    for (unsigned poll = 1; poll < SerialLine::pollsBeforeWaiting; ++poll)
        line.input(in, poll * 24, machine);
    EXPECT_EQ(line.takeWait(), DeviceWait::none);
    line.input(in, 10000, machine);
    EXPECT_EQ(line.takeWait(), DeviceWait::forInput);
    line.endInput();
    line.input(in, 10024, machine);
    EXPECT_EQ(line.takeWait(), DeviceWait::atEndOfInput);
}

// A receive routine and a transmit routine of our own, timed by a delay loop
// of 16 states a turn (103 states a bit received, 107 sent), echoing what
// they read until a CR.
const char* const echoSource = R"(LOOP	CAL RECV
	CAL SEND
	CPI 15B
	JFZ LOOP
	HLT
RECV	INP 0		; wait for the start bit
	RAR
	JTC RECV
	LDI 3		; to the middle of bit 0
	CAL WAITD
	LCI 8
RBIT	LDI 2
	CAL WAITD
	LAA
	INP 0		; the bit into the carry, then into E from the top
	RAR
	LAE
	RAR
	LEA
	DCC
	JFZ RBIT
	LDI 5		; past the stop bit
	CAL WAITD
	LAE
	RET
SEND	LEA
	XRA
	OUT 8		; the start bit
	LCI 8
	LDI 3
	CAL WAITD
SBIT	LAE
	OUT 8		; bit 0 of A
	RRC
	LEA
	LDI 3
	CAL WAITD
	DCC
	JFZ SBIT
	LAI 1
	OUT 8		; the stop bit
	LDI 4
	CAL WAITD
	LAE
	RET
WAITD	DCD
	JFZ WAITD
	RET)";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    lines.push_back(text.substr(from));
    return lines;
}

TEST(SerialLine, ABitBangedRoutineReadsWhatIsTypedAndItsEchoIsDecoded) {
    Machine machine(sbcMachine());
    ASSERT_TRUE(assembleInto(machine, linesOf(echoSource)));
    TerminalDevice& terminal = *machine.ports.terminal();
    // A key at a time, each once the routine waits for it.
    StopReason stop = StopReason::budget;
    for (const char key : std::string("8008 sbc!\r")) {
        terminal.type(std::string(1, key));
        stop = machine.run(Machine::unlimited);
    }
    EXPECT_EQ(stop, StopReason::halted);
    EXPECT_EQ(terminal.takeScreen(), "8008 sbc!\n");
    // Typed all at once, the keys come back to back, and the routine, busy
    // echoing one, misses the start of the next, as on the board.
    Machine busy(sbcMachine());
    ASSERT_TRUE(assembleInto(busy, linesOf(echoSource)));
    busy.ports.terminal()->type("8008 sbc!\r");
    busy.run(Machine::unlimited);
    EXPECT_NE(busy.ports.terminal()->takeScreen(), "8008 sbc!\n");
}

} // namespace
