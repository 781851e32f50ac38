#pragma once

// The console of the simulated machine, a terminal on three ports:
//   INP 0  status: bit 0 is set while a typed character waits, the others are 0
//   INP 1  the next typed character, bit 7 clear, taken; 0 when none waits
//   OUT 8  a character to the screen, its bit 7 cleared first (mark-parity
//          terminals set it): CR ends a line and an LF right after it is not a
//          second end, a lone LF ends a line too, BS moves back one character,
//          NUL and BEL put nothing on the screen
// Ports 0 and 1 are INP 0 and INP 1; OUT 8 is what the assembler folds OUT 0 to.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

class Console {
  public:
    static constexpr unsigned statusPort = 0;
    static constexpr unsigned dataPort = 1;
    static constexpr unsigned screenPort = 8;

    // Why a program that reads the console cannot go on by itself.
    enum class Wait {
        none,
        forKeys,      // it has only polled for a while, and no key waits
        atEndOfInput, // it asks for a key, and none will come
    };

    // Keys as a terminal sends them: Enter is CR.
    void type(std::string_view keys);
    // No key will come after those typed.
    void endInput() { inputEnded = true; }
    bool hasKeys() const { return !keys.empty(); }

    std::uint8_t status();
    std::uint8_t read();
    void write(std::uint8_t character);

    // What the screen received since it was last taken: printable characters and
    // tabs, '\n' ending a line, '\b' moving back one character.
    std::string takeScreen() { return std::exchange(screen, {}); }
    const std::string& pendingScreen() const { return screen; }

    Wait takeWait() { return std::exchange(wait, Wait::none); }

    // This many polls of an empty console in a row, with nothing written between
    // them, and the program is taken to be waiting for a key.
    static constexpr unsigned pollsBeforeWaiting = 64;

  private:
    void polledEmpty();

    std::deque<char> keys;
    bool inputEnded = false;
    std::string screen;
    bool afterCarriageReturn = false;
    unsigned emptyPolls = 0;
    Wait wait = Wait::none;
};
