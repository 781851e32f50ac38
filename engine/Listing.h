#pragma once

// The listing of an assembled program, as brenvik-asm prints it and the editor
// exports it.

#include "Assembly.h"

#include <functional>
#include <ostream>
#include <string>

// The text of source line `index` (0-based), as the run read it.
using SourceLines = std::function<std::u16string(std::size_t index)>;
// A field before the first row of line `index`, all of one width; the rows
// that continue a line's bytes get blanks as wide.
using LinePrefix = std::function<std::string(std::size_t index)>;

// The line in UTF-8 with each tab replaced by the blanks up to the next stop of every 8 columns.
std::string expandTabs(std::u16string_view line);

// One row per source line: a 20-character code field (address, then byte groups
// from column 8), then the line with its tabs expanded to stops every 8 columns;
// bytes beyond three continue on rows of their own.
void writeListing(std::ostream& out, const Assembly& assembly, const SourceLines& source,
                  const LinePrefix& prefix = {});
