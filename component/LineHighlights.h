#pragma once

// The line the program stands on, and the line just navigated to, lit across
// the whole width of a text area.

#include "Marks.h"

#include <QObject>
#include <QString>
#include <QTimer>

class TRichEdit2;

class LineHighlights : public QObject {
    Q_OBJECT
  public:
    explicit LineHighlights(TRichEdit2& textArea);

    void SetColours(const MarkColours& colours);

    // The line of the instruction the program stands on (0-based), lit; -1 for
    // none. The view follows it, leaving the caret where it is.
    void SetExecutionLine(int line);
    int GetExecutionLine() const { return executionLine; }
    // What hovering over the execution line says besides its diagnostics: how often it ran.
    void SetExecutionNote(const QString& note) { executionNote = note; }
    // The note, while `line` is the execution line; empty otherwise.
    QString NoteOf(int line) const { return line == executionLine ? executionNote : QString(); }

    // Lights `line` for a moment.
    void Flash(int line);
    // The line lit for a moment, while it is; -1 otherwise.
    int GetFlashedLine() const { return flash.isActive() ? flashedLine : -1; }
    static constexpr int flashMilliseconds = 700;

  private:
    void show();

    TRichEdit2& textArea;
    MarkColours colours;
    int executionLine = -1;
    QString executionNote;
    QTimer flash; // runs while the line navigated to is lit
    int flashedLine = -1;
};
