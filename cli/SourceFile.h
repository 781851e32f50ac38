#pragma once

// A source file as the command line reads it: split into lines at CR LF, LF or
// CR, decoded as UTF-8 when it is valid UTF-8 and as Latin-1 otherwise.

#include "TextArea.h"

#include <string>
#include <vector>

struct SourceFile {
    std::vector<std::string> rawLines; // each line's bytes as they stand in the file
    std::vector<SourceLine> lines;     // the same lines, one byte per character
};

SourceFile decodeSource(const std::string& bytes);
