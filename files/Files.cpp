#include "Files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

std::string systemReason() {
    return std::strerror(errno);
}

// False, with the system's reason, at the first write that fails.
bool writeAll(int fd, const std::string& contents, std::string& reason) {
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t written = ::write(fd, contents.data() + done, contents.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0) {
            reason = systemReason();
            return false;
        }
        if (written == 0) {
            reason = "short write";
            return false;
        }
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

// A device or a pipe takes the bytes as they come; there is nothing to replace.
bool writeDirectly(const std::string& path, const std::string& contents, std::string& reason) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = systemReason();
        return false;
    }
    bool ok = writeAll(fd, contents, reason);
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = systemReason();
    }
    return ok;
}

// Reads from `fd` until its end or until `limit` bytes are read.
bool readAtMost(int fd, std::size_t limit, std::string& contents, std::string& reason) {
    constexpr std::size_t chunk = std::size_t{1} << 16;
    while (contents.size() < limit) {
        const std::size_t done = contents.size();
        const std::size_t wanted = std::min(chunk, limit - done);
        contents.resize(done + wanted);
        const ssize_t got = ::read(fd, contents.data() + done, wanted);
        contents.resize(done + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = systemReason();
            return false;
        }
        if (got == 0)
            break;
    }
    return true;
}

// A descriptor closed when it goes.
struct OpenFile {
    explicit OpenFile(const std::string& path) : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd >= 0)
            ::close(fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    const int fd;
};

std::string tooLarge(std::size_t limit) {
    return "larger than " + std::to_string(limit >> 20) + " MiB, too large for a source";
}

// The name a write to `path` ends up at: symbolic links followed, even one to a
// file not yet made, and the folder's name made absolute and canonical.
std::filesystem::path destinationOf(const std::string& name) {
    namespace fs = std::filesystem;
    constexpr int linksFollowed = 40; // as the kernel's own limit on a path's links
    std::error_code error;
    fs::path path = fs::absolute(name, error);
    for (int i = 0; i < linksFollowed && fs::is_symlink(fs::symlink_status(path, error)); ++i) {
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return fs::weakly_canonical(path, error).lexically_normal();
}

} // namespace

bool readWholeFile(const std::string& path, std::string& contents, std::string& reason, std::size_t limit) {
    const OpenFile file(path);
    if (file.fd < 0) {
        reason = systemReason();
        return false;
    }
    contents.clear();
    struct stat info {};
    if (::fstat(file.fd, &info) == 0 && S_ISREG(info.st_mode)) {
        if (static_cast<std::size_t>(info.st_size) > limit) {
            reason = tooLarge(limit);
            return false;
        }
        contents.reserve(static_cast<std::size_t>(info.st_size) + 1); // and the read that finds the end
    }
    if (!readAtMost(file.fd, limit + 1, contents, reason))
        return false;
    if (contents.size() > limit) {
        reason = tooLarge(limit);
        return false;
    }
    return true;
}

bool readFileStart(const std::string& path, std::size_t count, std::string& contents, std::string& reason) {
    const OpenFile file(path);
    if (file.fd < 0) {
        reason = systemReason();
        return false;
    }
    contents.clear();
    return readAtMost(file.fd, count, contents, reason);
}

FileReplacements::~FileReplacements() {
    for (const Pending& file : pending)
        if (!file.temporary.empty())
            ::unlink(file.temporary.c_str());
}

bool FileReplacements::add(const std::string& name, const std::string& contents, std::string& reason) {
    std::string path = name;
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
        pending.push_back({path, {}, contents});
        return true;
    }
    if (exists) {
        // Replace what a link leads to, not the link; and only what may be written.
        const std::unique_ptr<char, decltype(&std::free)> target(::realpath(name.c_str(), nullptr),
                                                                 &std::free);
        if (target)
            path = target.get();
        const int probe = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (probe < 0) {
            reason = systemReason();
            return false;
        }
        ::close(probe);
    }

    std::string temporary = folderOf(path) + ".brenvik-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        reason = systemReason();
        return false;
    }
    bool ok = writeAll(fd, contents, reason);
    if (ok && (::fchmod(fd, modeFor(exists ? &existing : nullptr)) != 0 || ::fsync(fd) != 0)) {
        ok = false;
        reason = systemReason();
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = systemReason();
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    pending.push_back({path, temporary, {}});
    return true;
}

bool FileReplacements::commit(std::string& failedPath, std::string& reason) {
    // Devices first: a device that fails leaves the files as they were.
    for (const Pending& file : pending)
        if (file.temporary.empty() && !writeDirectly(file.path, file.contents, reason)) {
            failedPath = file.path;
            return false;
        }
    for (Pending& file : pending) {
        if (file.temporary.empty())
            continue;
        if (::rename(file.temporary.c_str(), file.path.c_str()) != 0) {
            failedPath = file.path;
            reason = systemReason();
            return false;
        }
        file.temporary.clear();
    }
    pending.clear();
    return true;
}

bool replaceFile(const std::string& path, const std::string& contents, std::string& reason) {
    FileReplacements replacement;
    std::string failedPath;
    return replacement.add(path, contents, reason) && replacement.commit(failedPath, reason);
}

bool isSameFile(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool isSameDestination(const std::string& a, const std::string& b) {
    return isSameFile(a, b) || destinationOf(a) == destinationOf(b);
}
