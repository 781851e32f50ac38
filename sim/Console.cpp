#include "Console.h"

#include <utility>

namespace {

constexpr std::uint8_t sevenBits = 0x7F;

} // namespace

void Console::type(std::string_view typed) {
    keys.insert(keys.end(), typed.begin(), typed.end());
    emptyPolls = 0;
}

std::string Console::portUse(unsigned port) const {
    switch (port) {
    case statusPort:
        return "Console status";
    case dataPort:
        return "Console keys";
    default:
        return "Console screen";
    }
}

void Console::polledEmpty() {
    if (inputEnded)
        wait = DeviceWait::atEndOfInput;
    else if (++emptyPolls >= pollsBeforeWaiting)
        wait = DeviceWait::forInput;
}

std::uint8_t Console::status() {
    if (keys.empty()) {
        polledEmpty();
        return 0;
    }
    return 1;
}

std::uint8_t Console::read() {
    if (keys.empty()) {
        polledEmpty();
        return 0;
    }
    const auto key = static_cast<std::uint8_t>(keys.front() & sevenBits);
    keys.pop_front();
    emptyPolls = 0;
    return key;
}

void Console::write(std::uint8_t byte) {
    emptyPolls = 0;
    screen.receive(byte);
}
