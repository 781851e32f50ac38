#include "KeySource.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

std::string asTypedKeys(const std::string& bytes, bool& afterReturn) {
    std::string keys;
    for (const char c : bytes) {
        if (!(c == '\n' && afterReturn))
            keys += c == '\n' ? '\r' : c;
        afterReturn = c == '\r';
    }
    return keys;
}

std::string DescriptorKeys::read(bool wait) {
    std::string keys;
    if (atEnd)
        return keys;
    pollfd ready{fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, wait ? waitMilliseconds : 0);
    if (polled <= 0)
        return keys;
    char buffer[4096];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0)
        keys = asTypedKeys(std::string(buffer, static_cast<std::size_t>(got)), afterReturn);
    else if (got == 0 || errno != EINTR)
        atEnd = true;
    return keys;
}

std::string GivenKeys::read(bool) {
    bool afterReturn = false;
    return asTypedKeys(std::exchange(keys, {}), afterReturn);
}

namespace {

termios saved{};

void restoreTerminal() {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

// Ctrl+C ends the program as it would, with the terminal as it was.
void restoreAndDie(int signal) {
    restoreTerminal();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

RawTerminal::RawTerminal() {
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &saved) != 0)
        return;
    termios raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    changed = ::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
    if (changed) {
        std::signal(SIGINT, restoreAndDie);
        std::signal(SIGTERM, restoreAndDie);
    }
}

RawTerminal::~RawTerminal() {
    if (changed)
        restoreTerminal();
}
