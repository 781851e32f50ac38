#pragma once

// A run's findings drawn into the text: red from the column of a line's error,
// blue from its comment, a wavy underline under what a warning is about. They
// are layout formats, drawn like a syntax highlighter's colours: they never
// enter the undo history, never set the modified flag, never count as an edit
// and are not saved.

#include "Assembly.h"

#include <QColor>

class QTextDocument;

struct MarkColours {
    QColor error{255, 0, 0};
    QColor comment{0, 0, 255};
    QColor warning{0xE0, 0x8A, 0x00};   // amber reads on light and dark backgrounds
    QColor execution{0xFF, 0xF1, 0xA8}; // behind the line the program stands on
    QColor breakpoint{0xD0, 0x20, 0x20};
    QColor navigation{0x60, 0xA0, 0xFF, 0x60}; // for a moment behind a line gone to
};

// Pure red and blue on a light background, as designed; lighter shades of them
// on a dark one, where pure blue can hardly be read.
MarkColours markColoursFor(const QColor& background);

// Every line takes the marks of `assembly`, and only those.
void showMarks(QTextDocument& document, const Assembly& assembly, const MarkColours& colours);
// Every line back to the default colour.
void clearMarks(QTextDocument& document);
