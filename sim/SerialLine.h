#pragma once

// A serial line that the program bit-bangs, as boards without a UART have it:
// the transmit line is bit 0 of the output ports it is wired to, the receive
// line a bit of its input ports (bit 0 unless told), 1 being the mark (idle)
// level. Characters travel as frames of a start bit, eight data bits from the
// least significant and a stop bit (two for a teletype) at a fixed rate, timed
// in the states of the machine's clock:
//   - what the program sends is decoded as a receiving UART does, each bit
//     read at its middle from the level the program's last OUT left;
//   - what is typed is presented as line levels over the states that follow,
//     one character after another, back to back as a terminal sends them.
// The program's own timing decides whether either is read right.

#include "Device.h"
#include "TerminalScreen.h"

#include <cstdint>
#include <deque>
#include <optional>

class SerialLine : public TerminalDevice {
  public:
    struct Timing {
        std::uint64_t statesPerSecond;
        std::uint64_t baud;
    };
    // How the line's frames stand beyond their timing.
    struct Framing {
        unsigned receiveBit = 0; // the bit of an input port that is the receive line
        unsigned stopBits = 1;   // of the frames that typed keys are sent in
        bool markParity = false; // typed keys with bit 7 set, as a teletype sends them
    };
    SerialLine(Timing timing, Framing framing) : timing(timing), framing(framing) {}
    explicit SerialLine(Timing timing); // N-8-1 on bit 0

    std::unique_ptr<Device> clone() const override { return std::make_unique<SerialLine>(*this); }
    std::uint8_t input(unsigned port, std::uint64_t state, Machine&) override;
    void output(unsigned port, std::uint8_t value, std::uint64_t state, Machine&) override;
    DeviceWait takeWait() override;
    std::string portUse(unsigned port) const override;

    void type(std::string_view keys) override;
    void endInput() override { inputEnded = true; }
    bool hasKeys() const override { return !keys.empty(); }
    std::string takeScreen() override { return screen.take(); }
    void keepScreenAsSent(bool on) override { screen.keepAsSent(on); }
    // "Serial line at 2400 bps"
    std::string name() const override;

    // Polls of an idle receive line in a row, nothing sent between them, before
    // the program is taken to be waiting for a key.
    static constexpr unsigned pollsBeforeWaiting = 64;

  private:
    // The bit of a frame that `elapsed` states after its start fall in.
    std::uint64_t bitAt(std::uint64_t elapsed) const {
        return elapsed * timing.baud / timing.statesPerSecond;
    }
    // States from a frame's start to the middle of its bit `bit`, rounded up.
    std::uint64_t middleOf(int bit) const;
    std::uint8_t receiveLevel(std::uint64_t state);
    void sampleUntil(std::uint64_t state);
    void endFrame();

    Timing timing;
    Framing framing;

    // Receiving what is typed.
    std::deque<char> keys;
    std::optional<std::uint64_t> keyFrameStart;
    bool inputEnded = false;
    unsigned idlePolls = 0;
    DeviceWait wait = DeviceWait::none;

    // Decoding what is sent.
    std::uint8_t level = 1;
    std::optional<std::uint64_t> sentFrameStart;
    int nextSample = 1; // the bit of the frame read next: 1 to 8 data, 9 stop
    std::uint8_t sentBits = 0;
    TerminalScreen screen;
};
