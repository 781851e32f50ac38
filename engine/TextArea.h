#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One line of source as the assembler reads it: one byte per character, so that
// byte positions are the columns the user sees.
struct SourceLine {
    std::string text;
    // 1-based columns, ascending, of characters that have no single-byte code;
    // `text` holds a stand-in byte there. Empty for almost every line.
    std::vector<std::uint32_t> wideColumns;
};

// The byte a text area puts in `SourceLine::text` for a character without a single-byte code.
constexpr char wideStandIn = '?';

enum class MarkColour { Default, Error, Comment };

// The colour of a line from `column` on, up to the next run or the line's end.
struct MarkRun {
    std::uint32_t column;
    MarkColour colour;
    bool operator==(const MarkRun& other) const { return column == other.column && colour == other.colour; }
};

// Adds a mark to a line's runs (ascending columns): a mark recolours everything
// from its column on, so later marks win where they overlap.
inline void applyMark(std::vector<MarkRun>& runs, MarkRun mark) {
    while (!runs.empty() && runs.back().column >= mark.column)
        runs.pop_back();
    if (runs.empty() ? mark.colour != MarkColour::Default : runs.back().colour != mark.colour)
        runs.push_back(mark);
}

// The few operations of the text that the assembler needs. The editor implements
// them on its text widget; HeadlessTextArea implements them over a list of lines.
class TextArea {
public:
    virtual ~TextArea() = default;

    // Lines of the text; a final line break does not start another line.
    virtual std::size_t lineCount() const = 0;
    // Fills `out` with line `index` (0-based), reusing its storage.
    virtual void readLine(std::size_t index, SourceLine& out) const = 0;
    // Colours line `index` from `column` (1-based) to its end. Never counts as an
    // edit: the text, its undo history and its modified flag stay as they were.
    virtual void markLine(std::size_t index, std::uint32_t column, MarkColour colour) = 0;
};
