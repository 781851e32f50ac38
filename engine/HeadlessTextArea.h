#pragma once

// A text without a screen: its lines held as strings, for the tests, the
// benchmarks and the fuzz target.

#include "TextArea.h"

class HeadlessTextArea : public TextArea {
  public:
    HeadlessTextArea() = default;
    explicit HeadlessTextArea(std::vector<std::string> lines);
    explicit HeadlessTextArea(std::vector<SourceLine> lines) : lines(std::move(lines)) {}

    std::size_t lineCount() const override { return lines.size(); }
    void readLine(std::size_t index, SourceLine& out) const override { out = lines[index]; }

  private:
    std::vector<SourceLine> lines;
};
