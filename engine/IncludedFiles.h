#pragma once

// What both syntaxes share for the lines a line brings in: where an included
// file is found, how its lines are read, and the bounds on files within files
// and macros within macros.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr std::size_t maxIncludeDepth = 16;                           // files within files
constexpr std::uintmax_t maxIncludedBytes = std::uintmax_t{16} << 20; // far more than any 8008 source
constexpr int maxExpansionDepth = 100; // macros invoked within macros, as deep as AS allows
// Lines one line's expansions may hold: macros that invoke others twice over grow
// exponentially, and this bounds the time a run takes.
constexpr std::int64_t maxExpandedLines = 1000000;

// Where `file`, as an INCLUDE names it, stands for the file at `includer`: beside
// it, unless the name is a full path.
std::string includedPath(const std::string& includer, const std::string& file);

// The lines of the file at `path`; none unless it is a regular file of at most
// maxIncludedBytes (a folder, a device that never ends).
std::optional<std::vector<std::string>> includedLines(const std::string& path);
