// Breakpoints and the line the program stands on. A breakpoint is a cursor at
// the start of its line's text: the document moves it as text is inserted or
// removed before it, so it stays with the line, even when Enter at the line's
// start pushes the line down, and an undo brings it back with the line.

#include "BrenvikControl.h"
#include "RichEdit2.h"

#include <QTextBlock>

#include <algorithm>

bool TBrenvik::lineHasCode(int line) const {
    return GetProgram().lineHasInstruction(line);
}

// The line itself, or the next below it with code once the listing is known.
QTextBlock TBrenvik::codeBlockFrom(int line) const {
    QTextBlock block = textArea->document()->findBlockByNumber(line);
    if (!isCodeValid())
        return block;
    while (block.isValid() && !lineHasCode(block.blockNumber()))
        block = block.next();
    return block;
}

bool TBrenvik::HasBreakpoint(int line) const {
    return std::any_of(breakpoints.begin(), breakpoints.end(),
                       [line](const QTextCursor& mark) { return mark.blockNumber() == line; });
}

void TBrenvik::ToggleBreakpoint(int line) {
    if (HasBreakpoint(line)) {
        std::erase_if(breakpoints, [line](const QTextCursor& mark) { return mark.blockNumber() == line; });
    } else {
        const QTextBlock block = codeBlockFrom(line);
        if (!block.isValid())
            return;
        breakpoints.emplace_back(block);
    }
    update(codeRect);
    Q_EMIT OnBreakpointsChanged();
}

std::vector<int> TBrenvik::BreakpointLines() const {
    std::vector<int> lines;
    for (const QTextCursor& mark : breakpoints)
        lines.push_back(mark.blockNumber());
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// After a run: a breakpoint on a line without code goes to the next line with
// code, and one that meets another there becomes one.
void TBrenvik::moveBreakpointsToCode() {
    const std::vector<int> before = BreakpointLines();
    std::vector<QTextCursor> kept;
    for (QTextCursor& mark : breakpoints) {
        const QTextBlock target = codeBlockFrom(mark.blockNumber());
        const bool taken = std::any_of(kept.begin(), kept.end(), [&](const QTextCursor& other) {
            return other.blockNumber() == target.blockNumber();
        });
        if (!target.isValid() || taken)
            continue;
        if (target != mark.block())
            mark.setPosition(target.position());
        kept.push_back(mark);
    }
    breakpoints = std::move(kept);
    if (BreakpointLines() != before)
        Q_EMIT OnBreakpointsChanged();
}

// A text replaced as a whole (a file loaded, a new one) leaves no line to mark.
void TBrenvik::dropBreakpointsOfEmptiedText() {
    if (breakpoints.empty() || !textArea->document()->isEmpty())
        return;
    breakpoints.clear();
    Q_EMIT OnBreakpointsChanged();
}

void TBrenvik::SetExecutionLine(int line) {
    if (line == executionLine)
        return;
    const QTextBlock block = textArea->document()->findBlockByNumber(line);
    if (block.isValid()) {
        // The view follows the program, leaving the caret where it is.
        const int top = textArea->blockTop(block);
        if (top < 0 || top + textArea->fontMetrics().height() > textArea->viewport()->height())
            textArea->centerOn(block);
    }
    executionLine = block.isValid() ? line : -1;
    showLineHighlights();
}

// The line the program stands on, and the one just navigated to, across the text.
void TBrenvik::showLineHighlights() {
    QList<QTextEdit::ExtraSelection> highlights;
    const auto highlight = [&](int line, const QColor& colour) {
        const QTextBlock block = textArea->document()->findBlockByNumber(line);
        if (line < 0 || !block.isValid())
            return;
        QTextEdit::ExtraSelection whole;
        whole.format.setBackground(colour);
        whole.format.setProperty(QTextFormat::FullWidthSelection, true);
        whole.cursor = QTextCursor(block);
        highlights.append(whole);
    };
    highlight(executionLine, markColours.execution);
    if (navigationFlash.isActive())
        highlight(flashedLine, markColours.navigation);
    textArea->setExtraSelections(highlights);
}
