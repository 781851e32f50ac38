#pragma once

// Where the simulated console's keys come from: a file, a pipe or a terminal,
// read as the program asks, so that a key typed reaches a running program at
// once and a program that only polls does not keep a core busy.

#include <string>

class KeySource {
  public:
    virtual ~KeySource() = default;
    // The keys there are now; with `wait`, waits for some up to `waitMilliseconds`.
    // Each LF comes as the CR a terminal's Enter sends (a CR LF as one CR).
    virtual std::string read(bool wait) = 0;
    virtual bool ended() const = 0;

    static constexpr int waitMilliseconds = 50;
};

// The keys of a file descriptor, read without blocking but when waiting. A
// terminal program at the other end sends Enter as CR itself: its bytes are
// the keys as they are, without `lineFeedIsEnter`.
class DescriptorKeys : public KeySource {
  public:
    explicit DescriptorKeys(int fd, bool lineFeedIsEnter = true) : fd(fd), lineFeedIsEnter(lineFeedIsEnter) {}
    std::string read(bool wait) override;
    bool ended() const override { return atEnd; }

  protected:
    int fd;

  private:
    bool lineFeedIsEnter;
    bool atEnd = false;
    bool afterReturn = false;
};

// The keys of a named file, a pipe or a device as much as a plain file.
class FileKeys : public DescriptorKeys {
  public:
    explicit FileKeys(const std::string& path);
    ~FileKeys() override;
    FileKeys(const FileKeys&) = delete;
    FileKeys& operator=(const FileKeys&) = delete;
    // False, with the reason, when the file could not be opened for its keys.
    bool opened(std::string& reason) const;

  private:
    int openError = 0;
};

// Keys given all at once, as a test gives them.
class GivenKeys : public KeySource {
  public:
    explicit GivenKeys(std::string keys) : keys(std::move(keys)) {}
    std::string read(bool) override;
    bool ended() const override { return keys.empty(); }

  private:
    std::string keys;
};

// Enter as a terminal sends it: every LF a CR, and the LF of a CR LF dropped.
std::string asTypedKeys(const std::string& bytes, bool& afterReturn);

// While it lives, the terminal on standard input hands over each key as it is
// typed, without echo (the program echoes). The terminal is as the user had it
// again whenever the program stops: at its end, when a signal ends it, and while
// it is suspended (Ctrl+Z) until it is continued.
class RawTerminal {
  public:
    RawTerminal();
    ~RawTerminal();
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

  private:
    bool changed = false;
};
