#pragma once

// The editor component: a text area that shows a document, with a code column
// on its left that shows, in octal, the address and bytes of every visible
// source line, from the document's assembly after every pause in editing.

#include "Document.h"
#include "LineHighlights.h"
#include "LiveStrip.h"
#include "Marks.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <memory>

class TRichEdit2;
class QPainter;
class QPrinter;

class TBrenvik : public QWidget {
    Q_OBJECT
  public:
    using Line = Assembly::Line;
    using Unresolved = Assembly::Unresolved;
    static constexpr WordTable<Line::LineCode>& opcodes = TBrenvikEngine::opcodes;

    // Shows a document of its own, or `document`, which must outlive it.
    explicit TBrenvik(QWidget* owner = nullptr);
    TBrenvik(TDocument& document, QWidget* owner);
    ~TBrenvik() override;
    TDocument& GetDocument() const { return document; }

    // Milliseconds of editing pause before the automatic run; 0 means never.
    std::uint32_t AutoAsmDelay = 2000;

    QFont GetFont() const;
    QColor GetFontColour() const;
    // Sets the editor font and text colour, the code column's geometry and the tab stops.
    void SetFont(const QFont& font, const QColor& colour);
    // The same font at another size: the text keeps its marks, and the code
    // column's border its place in digits.
    void SetZoomedFont(const QFont& font);
    bool GetModified() const;
    void SetModified(bool modified);
    int GetLine() const;   // 1-based line of the caret
    int GetColumn() const; // 1-based column of the caret
    bool GetHideSelection() const;
    void SetHideSelection(bool hide);
    int GetSelStart() const;
    void SetSelStart(int start);
    int GetSelLength() const;
    void SetSelLength(int length);
    bool GetAutoIndent() const;
    void SetAutoIndent(bool on);

    // One whole assembly run of the document, which cancels a pending automatic
    // one. Any run of the document shows here, whoever asked for it.
    void doAsm();
    // What the last run produced.
    int GetErrorCount() const { return document.GetAssembly().errorCount; }
    std::uint32_t BytesAssembled() const { return document.GetAssembly().bytesAssembled; }

    TRichEdit2* GetTextArea() const { return textArea; }
    // The name (a word that starts with a letter) at or just before `position`
    // of the text, as written; empty when there is none or it is in a comment.
    QString NameAt(int position) const;
    // The colours of errors, comments and warnings, for the window's background.
    const MarkColours& GetMarkColours() const { return markColours; }
    // Puts the caret at `column` (1-based) of `line` (0-based), the line in the
    // middle of the view and lit for a moment, and the keyboard focus in the text.
    void GoTo(int line, int column);
    // The line the program stands on, and the one GoTo lights for a moment.
    LineHighlights& Highlights() const { return *highlights; }

    // The code column: its width, and one row of a line's code as the column and
    // the printed listing show it: the address at x 3 (first rows only) and up to
    // `maxBytes` byte groups from `firstByte` at bytesX + 3. Returns the next byte
    // of `code` still to be drawn.
    int GetCodeWidth() const { return codeWidth; }
    std::size_t PaintCode(QPainter& canvas, std::uint32_t index, int atBytesX, int y, std::size_t maxBytes,
                          std::size_t firstByte) const;

    // A strip right of the code column, shown only while `on`, with the live
    // run's figures beside each line: how often it ran, and its share of the
    // run's states as a bar.
    void SetLiveColumn(bool on);
    // The figures of a run of the last assembly; taken only while it is the
    // text's, and dropped by the next edit, so that none is ever stale.
    void SetLiveResult(std::shared_ptr<const LiveResult> result);
    const LiveStrip& GetLiveStrip() const { return liveStrip; }

    // Pass-through editing operations.
    void SelectAll();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void ClearSelection();
    void ClearAll();
    bool CanUndo() const;
    void Undo();
    bool CanRedo() const;
    void Redo();
    void ReplaceSelection(const QString& text);
    // The edits between these two undo as one step.
    void BeginEditGroup();
    void EndEditGroup();

    enum SearchOption { WholeWord = 1, MatchCase = 2 };
    // Position of the first match of `text` within [start, start + length), selected
    // and scrolled into view; -1, with the selection collapsed to its start, if none.
    int FindTextA(const QString& text, int start, int length, int options);

    // Prints the listing of the whole text, or of the lines the selection covers,
    // into a print job the caller has begun.
    void Print(QPrinter& printer, bool selectionOnly);

    // The document's Load, the caret at its start, and its SaveTo.
    void LoadFromFile(const QString& path);
    void SaveToFile(const QString& path) { document.SaveTo(path); }

  Q_SIGNALS:
    void OnChange();
    void OnAssemble();
    // The colours of its marks changed with the palette.
    void OnMarkColoursChanged();
    // Ctrl and a click on `name` in the text: a wish to see its definition.
    void OnNameClicked(const QString& name);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    TBrenvik(TDocument* shown, QWidget* owner);
    void textChange();
    void assemblyChanged();
    void vertScroll();
    void Paint(QPainter& canvas);
    void paintBreakpoint(QPainter& canvas, int y, int rowHeight) const;
    // The line beside `y` in the code column, or -1.
    int lineBeside(int y) const;
    void resetMargins();
    void takeFont(const QFont& font, double codeDigits);
    bool nearBorder(int x) const;
    void setSelection(int start, int length);

    TRichEdit2* textArea;
    // The one given, or one of its own made after the text area, so that it
    // outlives the text area that shows it.
    TDocument& document;
    MarkColours markColours;
    QTimer autoAsmTimer;
    QPixmap codeBitmap;
    QRect codeRect;
    int codeWidth = 0;
    int bytesX = 0;
    LiveStrip liveStrip;
    bool draggingBorder = false;
    LineHighlights* highlights; // the program's line, the line gone to
};
