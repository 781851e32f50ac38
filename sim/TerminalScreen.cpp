#include "TerminalScreen.h"

namespace {

constexpr std::uint8_t sevenBits = 0x7F;
constexpr char nul = 0x00, bell = 0x07, backspace = 0x08, tab = 0x09, lineFeed = 0x0A, carriageReturn = 0x0D;
constexpr char firstPrintable = 0x20, del = 0x7F;

} // namespace

void TerminalScreen::receive(std::uint8_t byte) {
    const auto c = static_cast<char>(byte & sevenBits);
    if (asSent) {
        shown += c;
        return;
    }
    const bool lineFeedAfterReturn = c == lineFeed && afterCarriageReturn;
    afterCarriageReturn = c == carriageReturn;
    switch (c) {
    case carriageReturn:
        shown += '\n';
        return;
    case lineFeed:
        if (!lineFeedAfterReturn)
            shown += '\n';
        return;
    case backspace:
        shown += '\b';
        return;
    case tab:
        shown += tab;
        return;
    case nul:
    case bell:
    case del:
        return;
    default:
        if (c >= firstPrintable)
            shown += c;
    }
}
