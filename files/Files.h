#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Sources larger than this are refused: no 8008 program comes near it, and a
// device such as /dev/zero would otherwise be read until memory runs out.
constexpr std::size_t maxSourceBytes = std::size_t{256} << 20;

// Reads a whole file of at most `limit` bytes; on failure returns false and
// says why in `reason`. A file whose size is known to be larger is refused
// before anything is read.
bool readWholeFile(const std::string& path, std::string& contents, std::string& reason,
                   std::size_t limit = maxSourceBytes);

// Reads the first `count` bytes of a file, or all of it when it is shorter.
bool readFileStart(const std::string& path, std::size_t count, std::string& contents, std::string& reason);

// Files replaced together: each is first written in full to a temporary file
// beside it, and only once every one of them is written are they put in place,
// so that a failure leaves every file as it was. A file that may not be written
// is refused as it stands; a device or pipe is written directly, when the others
// are put in place; a symbolic link is followed.
class FileReplacements {
  public:
    FileReplacements() = default;
    ~FileReplacements(); // removes what was written but not put in place
    FileReplacements(const FileReplacements&) = delete;
    FileReplacements& operator=(const FileReplacements&) = delete;

    // False, with the reason, when `path` cannot be written.
    bool add(const std::string& path, const std::string& contents, std::string& reason);
    // Puts every file in place; false, with the file and the reason, at the first that fails.
    bool commit(std::string& failedPath, std::string& reason);

  private:
    struct Pending {
        std::string path;
        std::string temporary; // empty for a device or pipe, written at commit
        std::string contents;  // for a device or pipe only
    };
    std::vector<Pending> pending;
};

// Replaces `path` with `contents` as FileReplacements does, alone.
bool replaceFile(const std::string& path, const std::string& contents, std::string& reason);

// Whether both names lead to one existing file.
bool isSameFile(const std::string& a, const std::string& b);

// Whether writing to both names would write one file, whether it exists yet or
// not: the same name, a symbolic link to the other (even to a file not yet
// made), or another name of one existing file.
bool isSameDestination(const std::string& a, const std::string& b);
