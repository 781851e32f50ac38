#include "PseudoTerminal.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// Longer than the system takes to pass what is written on to the terminal side.
constexpr auto drainPoll = std::chrono::milliseconds(50);

} // namespace

PseudoTerminal::PseudoTerminal()
    : controller(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)), output(controller), shown(&output) {
    const char* name = nullptr;
    if (controller < 0 || ::grantpt(controller) != 0 || ::unlockpt(controller) != 0 ||
        !(name = ::ptsname(controller)) || (terminalSide = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC)) < 0) {
        openError = errno;
        return;
    }
    terminalPath = name;
    // Raw until a terminal program sets it as it likes: no echo, no line
    // editing, no change to any byte either way.
    termios mode{};
    if (::tcgetattr(terminalSide, &mode) == 0) {
        ::cfmakeraw(&mode);
        ::tcsetattr(terminalSide, TCSANOW, &mode);
    }
    typed.emplace(controller, false);
}

PseudoTerminal::~PseudoTerminal() {
    for (const int fd : {terminalSide, controller})
        if (fd >= 0)
            ::close(fd);
}

bool PseudoTerminal::opened(std::string& reason) const {
    if (openError != 0)
        reason = std::string("cannot open a pseudo-terminal: ") + std::strerror(openError);
    return openError == 0;
}

bool PseudoTerminal::unread() const {
    std::this_thread::sleep_for(drainPoll);
    int waiting = 0;
    return ::ioctl(terminalSide, FIONREAD, &waiting) == 0 && waiting > 0;
}

void PseudoTerminal::drain() const {
    while (unread()) {
        // each look waits a moment
    }
}

PseudoTerminal::Output::int_type PseudoTerminal::Output::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char one = traits_type::to_char_type(c);
    return xsputn(&one, 1) == 1 ? c : traits_type::eof();
}

std::streamsize PseudoTerminal::Output::xsputn(const char* text, std::streamsize count) {
    std::streamsize written = 0;
    while (written < count) {
        const ssize_t now = ::write(fd, text + written, static_cast<std::size_t>(count - written));
        if (now < 0 && errno == EINTR)
            continue;
        if (now <= 0)
            break;
        written += now;
    }
    return written;
}
