#pragma once

// What both syntaxes share for the lines a line brings in: the lines of a
// macro's body, a repetition or an included file with where each is written;
// the files a run includes, found beside the file that includes them and read
// once; and the bounds on files within files and macros within macros.

#include "Diagnostics.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

constexpr std::size_t maxIncludeDepth = 16;                           // files within files
constexpr std::uintmax_t maxIncludedBytes = std::uintmax_t{16} << 20; // far more than any 8008 source
constexpr int maxExpansionDepth = 100; // macros invoked within macros, as deep as AS allows
// Lines one line's expansions may hold: macros that invoke others twice over grow
// exponentially, and this bounds the time a run takes.
constexpr std::int64_t maxExpandedLines = 1000000;

struct BodyLine {
    std::string text;
    std::uint32_t file; // in the run's IncludedFiles, 0 for the text itself
    std::uint32_t line; // 0-based
};

// The files of one run: those being read, within each other, the text's own
// outermost; and those read, numbered in the order first read, 0 being the text.
class IncludedFiles {
  public:
    // For a text at `textPath`, empty while it is no file (it includes nothing then).
    explicit IncludedFiles(const std::string& textPath) : including{textPath} {}

    // Where `name`, as an INCLUDE in the file being read gives it, is: beside
    // that file, unless the name is a full path.
    std::string pathOf(const std::string& name) const;
    // Why the file at `path` (named `name`) cannot be included where it is named:
    // it is being read already, or files stand too deep; none when it can.
    std::optional<Fault> refusal(const std::string& path, const std::string& name) const;
    // Its lines, read the first time they are asked for; null for a file that
    // cannot be read (not a regular file of at most maxIncludedBytes).
    const std::vector<BodyLine>* linesOf(const std::string& path);
    // The lines read from now on are those of the file at `path`, until leave().
    void enter(const std::string& path) { including.push_back(path); }
    void leave() { including.pop_back(); }

    // The path of file number `file`, as the places of lines name it; "" for the text.
    const std::string& pathAt(std::uint32_t file) const { return paths[file]; }

  private:
    std::vector<std::string> including;
    std::vector<std::string> paths{std::string()};
    std::unordered_map<std::string, std::vector<BodyLine>> read;
};
