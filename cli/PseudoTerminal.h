#pragma once

// A pseudo-terminal in place of the simulated machine's terminal, so that a
// terminal program (picocom, minicom, screen) can be attached to it as to a
// board's serial port: what the program sends reaches it as sent, and what the
// terminal program sends are the keys, byte for byte. Its terminal side stays
// open here, so that terminal programs may come and go while the program runs;
// what is sent while none is attached waits for the next.

#include "KeySource.h"

#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

class PseudoTerminal {
  public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // False, with the reason, when none could be opened.
    bool opened(std::string& reason) const;
    // Where a terminal program attaches: "/dev/pts/3".
    const std::string& path() const { return terminalPath; }
    KeySource& keys() { return *typed; }
    std::ostream& screen() { return shown; }
    // Whether something sent has not been read by a terminal program yet, once
    // the system has passed on what was written (a moment, waited here).
    bool unread() const;
    // Waits until a terminal program has read all that was sent.
    void drain() const;

  private:
    // Writes straight to the descriptor, whole, as the program sends.
    class Output : public std::streambuf {
      public:
        explicit Output(int fd) : fd(fd) {}

      protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;

      private:
        int fd;
    };

    int controller = -1;   // this side
    int terminalSide = -1; // the side terminal programs open
    int openError = 0;
    std::string terminalPath;
    std::optional<DescriptorKeys> typed;
    Output output;
    std::ostream shown;
};
