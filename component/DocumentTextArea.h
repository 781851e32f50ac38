#pragma once

// The assembler's view of the editor's document: one byte per UTF-16 unit, so
// that columns are document positions, and marks that are layout formats. Marks
// are drawn like a syntax highlighter's colours: they never enter the undo
// history, never set the modified flag, never count as an edit and are not saved.

#include "TextArea.h"

#include <QColor>

class QPlainTextEdit;
class QTextBlock;

class DocumentTextArea : public TextArea {
public:
    explicit DocumentTextArea(QPlainTextEdit& edit) : edit(edit) {}

    std::size_t lineCount() const override;
    void readLine(std::size_t index, SourceLine& out) const override;
    void markLine(std::size_t index, std::uint32_t column, MarkColour colour) override;

    // Every line back to the default colour.
    void clearAllMarks();

    static QColor colourOf(MarkColour colour);

private:
    QPlainTextEdit& edit;
};
