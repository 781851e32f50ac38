#include "Console.h"

#include <utility>

namespace {

constexpr std::uint8_t sevenBits = 0x7F;
constexpr char nul = 0x00, bell = 0x07, backspace = 0x08, tab = 0x09, lineFeed = 0x0A, carriageReturn = 0x0D;
constexpr char firstPrintable = 0x20, del = 0x7F;

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
    const auto c = static_cast<char>(byte & sevenBits);
    const bool lineFeedAfterReturn = c == lineFeed && afterCarriageReturn;
    afterCarriageReturn = c == carriageReturn;
    switch (c) {
    case carriageReturn:
        screen += '\n';
        return;
    case lineFeed:
        if (!lineFeedAfterReturn)
            screen += '\n';
        return;
    case backspace:
        screen += '\b';
        return;
    case tab:
        screen += tab;
        return;
    case nul:
    case bell:
    case del:
        return;
    default:
        if (c >= firstPrintable)
            screen += c;
    }
}
