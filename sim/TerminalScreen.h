#pragma once

// What a terminal's screen makes of the characters a program sends: bit 7
// cleared first (mark-parity terminals set it); CR ends a line and an LF right
// after it is not a second end, a lone LF ends a line too, BS moves back one
// character, NUL, BEL and DEL put nothing on the screen.

#include <cstdint>
#include <string>
#include <utility>

class TerminalScreen {
  public:
    void receive(std::uint8_t character);
    // What it showed since last taken, in a terminal device's terms.
    std::string take() { return std::exchange(shown, {}); }

  private:
    std::string shown;
    bool afterCarriageReturn = false;
};
