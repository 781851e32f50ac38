#pragma once

#include <array>

// The quick syntax summary of the About dialog, one line per entry.
extern const std::array<const char*, 46> syntaxSummary;
