#pragma once

// A text area without a screen: the lines are held as strings and every mark is
// recorded, so that tests and the command line can read what a run marked.

#include "TextArea.h"

#include <map>

class HeadlessTextArea : public TextArea {
public:
    struct Mark {
        std::uint32_t line; // 0-based
        std::uint32_t column;
        MarkColour colour;
        bool operator==(const Mark& other) const {
            return line == other.line && column == other.column && colour == other.colour;
        }
    };

    HeadlessTextArea() = default;
    explicit HeadlessTextArea(std::vector<std::string> lines);
    explicit HeadlessTextArea(std::vector<SourceLine> lines) : lines(std::move(lines)) {}

    std::size_t lineCount() const override { return lines.size(); }
    void readLine(std::size_t index, SourceLine& out) const override;
    void markLine(std::size_t index, std::uint32_t column, MarkColour colour) override;

    // Every mark in the order it was made.
    const std::vector<Mark>& marks() const { return markLog; }
    void clearMarks() { markLog.clear(); }
    // Where the red of each line left red begins.
    std::map<std::uint32_t, std::uint32_t> errorColumns() const;

private:
    std::vector<SourceLine> lines;
    std::vector<Mark> markLog;
};
