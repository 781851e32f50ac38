#include "SerialLine.h"

#include "Ports.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int startBit = 0, stopBit = 9; // the first stop bit
constexpr std::uint8_t mark = 1, space = 0;
constexpr unsigned parityBit = 0200;

} // namespace

SerialLine::SerialLine(Timing timing) : SerialLine(timing, Framing{}) {}

std::uint64_t SerialLine::middleOf(int bit) const {
    const std::uint64_t halves = static_cast<std::uint64_t>(2 * bit + 1) * timing.statesPerSecond;
    return (halves + 2 * timing.baud - 1) / (2 * timing.baud);
}

std::uint8_t SerialLine::input(unsigned, std::uint64_t state, Machine&) {
    return static_cast<std::uint8_t>(receiveLevel(state) << framing.receiveBit);
}

// The level the typed characters put on the line at `state`: each frame starts
// when the program first looks after its key was typed, or right after the
// frame before it.
std::uint8_t SerialLine::receiveLevel(std::uint64_t state) {
    for (;;) {
        if (!keyFrameStart) {
            if (keys.empty()) {
                if (inputEnded)
                    wait = DeviceWait::atEndOfInput;
                else if (++idlePolls >= pollsBeforeWaiting)
                    wait = DeviceWait::forInput;
                return mark;
            }
            keyFrameStart = state;
        }
        idlePolls = 0;
        const std::uint64_t bit = bitAt(state - *keyFrameStart);
        const unsigned bitsPerFrame = stopBit + framing.stopBits;
        if (bit == startBit)
            return space;
        if (bit < stopBit) {
            const unsigned key =
                static_cast<unsigned char>(keys.front()) | (framing.markParity ? parityBit : 0);
            return static_cast<std::uint8_t>((key >> (bit - 1)) & 1);
        }
        if (bit < bitsPerFrame)
            return mark;
        // That frame is over: the next key's starts where it ended.
        const std::uint64_t end =
            *keyFrameStart + (bitsPerFrame * timing.statesPerSecond + timing.baud - 1) / timing.baud;
        keys.pop_front();
        keyFrameStart.reset();
        if (!keys.empty())
            keyFrameStart = end;
    }
}

void SerialLine::output(unsigned, std::uint8_t value, std::uint64_t state, Machine&) {
    idlePolls = 0;
    sampleUntil(state);
    const auto now = static_cast<std::uint8_t>(value & 1);
    if (!sentFrameStart && level == mark && now == space) {
        sentFrameStart = state;
        nextSample = 1;
        sentBits = 0;
    }
    level = now;
    // With every data bit read and the line at mark for its stop bit, the
    // character is complete: shown now rather than when the program next
    // touches the line, which may be never.
    if (sentFrameStart && nextSample == stopBit && level == mark)
        endFrame();
}

// Reads the bits whose middles lie before `state`, at the level that held there.
void SerialLine::sampleUntil(std::uint64_t state) {
    while (sentFrameStart && *sentFrameStart + middleOf(nextSample) < state) {
        if (nextSample == stopBit) {
            // A frame whose stop bit is a space is broken: no character.
            if (level == mark)
                endFrame();
            sentFrameStart.reset();
            return;
        }
        sentBits = static_cast<std::uint8_t>(sentBits | level << (nextSample - 1));
        ++nextSample;
    }
}

void SerialLine::endFrame() {
    screen.receive(sentBits);
    sentFrameStart.reset();
}

DeviceWait SerialLine::takeWait() {
    return std::exchange(wait, DeviceWait::none);
}

std::string SerialLine::name() const {
    return "Serial line at " + std::to_string(timing.baud) + " bps";
}

std::string SerialLine::portUse(unsigned port) const {
    return port < Ports::inputPorts ? "Serial receive" : "Serial transmit";
}

void SerialLine::type(std::string_view typed) {
    keys.insert(keys.end(), typed.begin(), typed.end());
    idlePolls = 0;
}
