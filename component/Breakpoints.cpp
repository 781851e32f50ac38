// Breakpoints and the line the program stands on. A breakpoint is a mark of a
// text line, kept in the line's user state, so that it stays with its line as
// lines are inserted or removed above it.

#include "BrenvikControl.h"
#include "RichEdit2.h"

#include <QTextBlock>

namespace {

constexpr int breakpointState = 1; // a block's user state; -1, Qt's default, is none

bool isBreakpoint(const QTextBlock& block) { return block.userState() == breakpointState; }

} // namespace

bool TBrenvik::lineHasCode(int line) const {
    const auto& lines = GetAssembly().lines;
    if (line < 0 || static_cast<std::size_t>(line) >= lines.size())
        return false;
    const Line& record = lines[static_cast<std::size_t>(line)];
    return record.hasOpcode() || record.kind == Line::lhli;
}

// The line itself, or the next below it with code once the listing is known.
QTextBlock TBrenvik::codeBlockFrom(int line) const {
    QTextBlock block = textArea->document()->findBlockByNumber(line);
    if (!codeValid)
        return block;
    while (block.isValid() && !lineHasCode(block.blockNumber()))
        block = block.next();
    return block;
}

bool TBrenvik::HasBreakpoint(int line) const { return isBreakpoint(textArea->document()->findBlockByNumber(line)); }

void TBrenvik::ToggleBreakpoint(int line) {
    QTextBlock block = HasBreakpoint(line) ? textArea->document()->findBlockByNumber(line) : codeBlockFrom(line);
    if (!block.isValid())
        return;
    block.setUserState(isBreakpoint(block) ? -1 : breakpointState);
    update(codeRect);
    Q_EMIT OnBreakpointsChanged();
}

std::vector<int> TBrenvik::BreakpointLines() const {
    std::vector<int> lines;
    for (QTextBlock block = textArea->document()->begin(); block.isValid(); block = block.next())
        if (isBreakpoint(block))
            lines.push_back(block.blockNumber());
    return lines;
}

// After a run: a breakpoint on a line without code goes to the next line with code.
void TBrenvik::moveBreakpointsToCode() {
    bool moved = false;
    for (const int line : BreakpointLines()) {
        if (lineHasCode(line))
            continue;
        textArea->document()->findBlockByNumber(line).setUserState(-1);
        QTextBlock target = codeBlockFrom(line);
        if (target.isValid())
            target.setUserState(breakpointState);
        moved = true;
    }
    if (moved)
        Q_EMIT OnBreakpointsChanged();
}

void TBrenvik::SetExecutionLine(int line) {
    if (line == executionLine)
        return;
    QList<QTextEdit::ExtraSelection> highlight;
    const QTextBlock block = textArea->document()->findBlockByNumber(line);
    if (block.isValid()) {
        QTextEdit::ExtraSelection whole;
        whole.format.setBackground(markColours.execution);
        whole.format.setProperty(QTextFormat::FullWidthSelection, true);
        whole.cursor = QTextCursor(block);
        highlight.append(whole);
        // The view follows the program, leaving the caret where it is.
        const int top = textArea->blockTop(block);
        if (top < 0 || top + textArea->fontMetrics().height() > textArea->viewport()->height())
            textArea->centerOn(block);
    }
    textArea->setExtraSelections(highlight);
    executionLine = block.isValid() ? line : -1;
}
