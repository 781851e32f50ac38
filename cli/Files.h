#pragma once

#include <string>

// Reads a whole file; on failure returns false and says why in `reason`.
bool readWholeFile(const std::string& path, std::string& contents, std::string& reason);

// Replaces `path` with `contents` through a temporary file in the same folder,
// so that the file is either the old one or the new one, never a part of it.
bool replaceFile(const std::string& path, const std::string& contents, std::string& reason);
