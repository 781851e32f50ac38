#include "KeySource.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
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
    // All that is there now, within reason: a device such as /dev/zero never ends.
    constexpr std::size_t mostAtOnce = std::size_t{1} << 20;
    std::string bytes;
    int timeout = wait ? waitMilliseconds : 0;
    while (!atEnd && bytes.size() < mostAtOnce) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, std::exchange(timeout, 0)) <= 0)
            break;
        char buffer[4096];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            bytes.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            atEnd = true;
    }
    return lineFeedIsEnter ? asTypedKeys(bytes, afterReturn) : bytes;
}

FileKeys::FileKeys(const std::string& path) : DescriptorKeys(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat info {};
    if (fd < 0)
        openError = errno;
    else if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))
        openError = EISDIR;
}

FileKeys::~FileKeys() {
    if (fd >= 0)
        ::close(fd);
}

bool FileKeys::opened(std::string& reason) const {
    if (openError != 0)
        reason = std::strerror(openError);
    return openError == 0;
}

std::string GivenKeys::read(bool) {
    bool afterReturn = false;
    return asTypedKeys(std::exchange(keys, {}), afterReturn);
}

namespace {

termios saved{}; // as the user had it
termios raw{};   // as the program wants it

// A process in the background that changes the terminal is stopped for it; it
// leaves the terminal to whoever is in the foreground.
bool inForeground() {
    return ::tcgetpgrp(STDIN_FILENO) == ::getpgrp();
}

void setTerminal(const termios& mode) {
    if (inForeground())
        ::tcsetattr(STDIN_FILENO, TCSANOW, &mode);
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

// A signal that ends the program ends it as it would, with the terminal as it was.
void restoreAndDie(int signal) {
    setTerminal(saved);
    handle(signal, SIG_DFL);
    std::raise(signal);
}

// Ctrl+Z: the user's terminal while the program is stopped, the program's again once it goes on.
void restoreAndStop(int) {
    const int savedErrno = errno;
    setTerminal(saved);
    handle(SIGTSTP, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTSTP);
    ::sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    std::raise(SIGTSTP); // stopped here until continued
    handle(SIGTSTP, restoreAndStop);
    setTerminal(raw);
    errno = savedErrno;
}

// Continued after a stop that could not be caught (SIGSTOP), or by `fg` after `bg`.
void resumeRaw(int) {
    const int savedErrno = errno;
    setTerminal(raw);
    errno = savedErrno;
}

} // namespace

RawTerminal::RawTerminal() {
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &saved) != 0)
        return;
    raw = saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    changed = ::tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
    if (changed) {
        for (const int ending : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            handle(ending, restoreAndDie);
        handle(SIGTSTP, restoreAndStop);
        handle(SIGCONT, resumeRaw);
    }
}

RawTerminal::~RawTerminal() {
    if (changed)
        setTerminal(saved);
}
