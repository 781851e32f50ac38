#pragma once

// The assembler's view of the editor's document: one byte per UTF-16 unit, so
// that columns are document positions, and marks that are layout formats. Marks
// are drawn like a syntax highlighter's colours: they never enter the undo
// history, never set the modified flag, never count as an edit and are not saved.
//
// A run reads a snapshot of the text taken by beginRun, and its marks are
// collected and laid out once, by endRun.

#include "TextArea.h"

#include <QString>
#include <QTextLayout>

#include <unordered_map>

class QPlainTextEdit;

class DocumentTextArea : public TextArea {
public:
    explicit DocumentTextArea(QPlainTextEdit& edit) : edit(edit) {}

    // Takes the text; the marks of the last run stay until endRun.
    void beginRun();
    // Draws the marks made since beginRun, and only them.
    void endRun();
    // Every line back to the default colour, outside a run.
    void clearMarks();

    std::size_t lineCount() const override;
    void readLine(std::size_t index, SourceLine& out) const override;
    void markLine(std::size_t index, std::uint32_t column, MarkColour colour) override;

private:
    static QList<QTextLayout::FormatRange> formatsOf(const std::vector<MarkRun>& runs, int lineLength);

    QPlainTextEdit& edit;
    QString text;                 // the whole text, lines ended by paragraph separators
    std::vector<qsizetype> starts{0, 1}; // where each line begins in `text`, and one past the end
    std::unordered_map<std::size_t, std::vector<MarkRun>> pendingMarks;
};
