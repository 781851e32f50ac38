#pragma once

#include <cstddef>
#include <string>

// Sources larger than this are refused: no 8008 program comes near it, and a
// device such as /dev/zero would otherwise be read until memory runs out.
constexpr std::size_t maxSourceBytes = std::size_t{256} << 20;

// Reads a whole file of at most `limit` bytes; on failure returns false and
// says why in `reason`.
bool readWholeFile(const std::string& path, std::string& contents, std::string& reason,
                   std::size_t limit = maxSourceBytes);

// Replaces `path` with `contents` through a temporary file beside it, so that the
// file is either the old one or the new one, never a part of it. A file that may
// not be written is refused as it stands; a device or pipe is written directly;
// a symbolic link is followed.
bool replaceFile(const std::string& path, const std::string& contents, std::string& reason);

// Whether both names lead to one existing file.
bool isSameFile(const std::string& a, const std::string& b);
