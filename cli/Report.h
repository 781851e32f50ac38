#pragma once

// The command line's compiler-style report of every diagnostic of a run.

#include "Assembly.h"
#include "SourceText.h"

#include <ostream>
#include <string>

// "SOURCE:LINE:COLUMN: error: MESSAGE" (or "warning:"), the line, and a caret
// under the column, for every diagnostic; warnings only when `withWarnings`.
void writeDiagnostics(std::ostream& err, const std::string& sourceName, const SourceFileText& source,
                      const Assembly& assembly, bool withWarnings);
