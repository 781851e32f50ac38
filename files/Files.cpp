#include "Files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

bool writeAll(int fd, const std::string& contents) {
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t written = ::write(fd, contents.data() + done, contents.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// The mode a new file gets, or the mode of the file being replaced.
mode_t modeFor(const struct stat* existing) {
    if (existing)
        return existing->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string systemReason() {
    return errno != 0 ? std::strerror(errno) : "short write";
}

// A device or a pipe takes the bytes as they come; there is nothing to replace.
bool writeDirectly(const std::string& path, const std::string& contents, std::string& reason) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    errno = 0;
    bool ok = fd >= 0 && writeAll(fd, contents);
    if (!ok)
        reason = systemReason();
    if (fd >= 0 && ::close(fd) != 0 && ok) {
        ok = false;
        reason = std::strerror(errno);
    }
    return ok;
}

} // namespace

bool readWholeFile(const std::string& path, std::string& contents, std::string& reason, std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    constexpr std::size_t chunk = std::size_t{1} << 16;
    struct stat info {};
    contents.clear();
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= limit)
        contents.reserve(static_cast<std::size_t>(info.st_size) +
                         chunk); // room for the read that finds the end
    for (;;) {
        if (contents.size() > limit) {
            reason = "larger than " + std::to_string(limit >> 20) + " MiB, too large for a source";
            ::close(fd);
            return false;
        }
        const std::size_t done = contents.size();
        contents.resize(done + chunk);
        const ssize_t got = ::read(fd, contents.data() + done, chunk);
        contents.resize(done + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (got == 0)
            break;
    }
    ::close(fd);
    return true;
}

bool replaceFile(const std::string& name, const std::string& contents, std::string& reason) {
    std::string path = name;
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode))
        return writeDirectly(path, contents, reason);
    if (exists) {
        // Replace what a link leads to, not the link; and only what may be written.
        const std::unique_ptr<char, decltype(&std::free)> target(::realpath(name.c_str(), nullptr),
                                                                 &std::free);
        if (target)
            path = target.get();
        const int probe = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0) {
            reason = std::strerror(errno);
            return false;
        }
        ::close(probe);
    }

    std::string temporary = folderOf(path) + ".brenvik-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    errno = 0;
    bool ok = writeAll(fd, contents) && ::fchmod(fd, modeFor(exists ? &existing : nullptr)) == 0 &&
              ::fsync(fd) == 0;
    if (!ok)
        reason = systemReason();
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = std::strerror(errno);
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        reason = std::strerror(errno);
    }
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

bool isSameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
