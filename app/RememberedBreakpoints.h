#pragma once

// Breakpoints kept per file between sessions, in group "Breakpoints" of the
// settings: the files most recently left with breakpoints, each with its lines.

#include <QString>

#include <vector>

class QSettings;

// The lines (0-based) of the breakpoints `path` was last left with.
std::vector<int> rememberedBreakpoints(QSettings& settings, const QString& path);
// Keeps `lines` (0-based) for `path`; none forgets the file.
void rememberBreakpoints(QSettings& settings, const QString& path, const std::vector<int>& lines);
