#pragma once

// What the command line prints of a run: the listing, and a compiler-style
// report of every line in error.

#include "Brenvik.h"
#include "SourceFile.h"

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

// One row per source line: a 20-character code field (address, then byte groups
// from column 8), then the line as it stands; bytes beyond three continue on rows
// of their own.
void writeListing(std::ostream& out, const TBrenvikEngine& engine, const SourceFile& source);

// "SOURCE:LINE:COLUMN: error", the line, and a caret under the column, for every
// line in error (0-based line -> 1-based column where its red mark begins).
void writeErrors(std::ostream& err, const std::string& sourceName, const SourceFile& source,
                 const std::map<std::uint32_t, std::uint32_t>& errorColumns);
