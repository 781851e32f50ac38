#pragma once

// What the command line prints of a run: the listing, and a compiler-style
// report of every diagnostic.

#include "Assembly.h"
#include "SourceText.h"

#include <ostream>
#include <string>

// One row per source line: a 20-character code field (address, then byte groups
// from column 8), then the line with its tabs expanded to stops every 8 columns;
// bytes beyond three continue on rows of their own.
void writeListing(std::ostream& out, const Assembly& assembly, const SourceFileText& source);

// "SOURCE:LINE:COLUMN: error: MESSAGE" (or "warning:"), the line, and a caret
// under the column, for every diagnostic; warnings only when `withWarnings`.
void writeDiagnostics(std::ostream& err, const std::string& sourceName, const SourceFileText& source,
                      const Assembly& assembly, bool withWarnings);
