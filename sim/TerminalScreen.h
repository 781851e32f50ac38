#pragma once

// What a terminal's screen makes of the characters a program sends: bit 7
// cleared first (mark-parity terminals set it); CR ends a line and an LF right
// after it is not a second end, a lone LF ends a line too, BS moves back one
// character, NUL, BEL and DEL put nothing on the screen. A terminal program
// at the other end (through a pseudo-terminal) applies rules of its own: for
// it the characters are kept as sent, bit 7 cleared only.

#include <cstdint>
#include <string>
#include <utility>

class TerminalScreen {
  public:
    void receive(std::uint8_t character);
    void keepAsSent(bool on) { asSent = on; }
    // What it showed since last taken, in a terminal device's terms.
    std::string take() { return std::exchange(shown, {}); }

  private:
    std::string shown;
    bool afterCarriageReturn = false;
    bool asSent = false;
};
