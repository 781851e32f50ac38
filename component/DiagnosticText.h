#pragma once

// How the editor words a diagnostic: in the status bar, the problems list and
// the tooltip of a line.

#include "Diagnostics.h"

#include <QString>

#include <span>

// "error: MESSAGE" or "warning: MESSAGE".
QString diagnosticText(const Diagnostic& diagnostic);
// Each diagnostic's text with its explanation below it, as rich text for a
// tooltip: a message stays on one line, its explanation wraps to the width.
QString explanationHtml(std::span<const Diagnostic> diagnostics);
