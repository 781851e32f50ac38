// The document's breakpoints. A breakpoint is a cursor at the start of its
// line's text: the text moves it as text is inserted or removed before it, so it
// stays with the line, even when Enter at the line's start pushes the line
// down, and an undo brings it back with the line.

#include "Document.h"

#include <QTextDocument>

#include <algorithm>

bool TDocument::lineHasCode(int line) const {
    return GetProgram().lineHasInstruction(line);
}

// The line itself, or the next below it with code once the listing is known.
QTextBlock TDocument::codeBlockFrom(int line) const {
    QTextBlock block = text->findBlockByNumber(line);
    if (!assemblyCurrent)
        return block;
    while (block.isValid() && !lineHasCode(block.blockNumber()))
        block = block.next();
    return block;
}

bool TDocument::HasBreakpoint(int line) const {
    return std::any_of(breakpoints.begin(), breakpoints.end(),
                       [line](const QTextCursor& mark) { return mark.blockNumber() == line; });
}

void TDocument::ToggleBreakpoint(int line) {
    if (std::erase_if(breakpoints, [line](const QTextCursor& mark) { return mark.blockNumber() == line; }) ==
        0) {
        const QTextBlock block = codeBlockFrom(line);
        if (!block.isValid())
            return;
        breakpoints.emplace_back(block);
    }
    Q_EMIT OnBreakpointsChanged();
}

std::vector<int> TDocument::BreakpointLines() const {
    std::vector<int> lines;
    for (const QTextCursor& mark : breakpoints)
        lines.push_back(mark.blockNumber());
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// After a run: a breakpoint on a line without code goes to the next line with
// code, and one that meets another there becomes one.
void TDocument::moveBreakpointsToCode() {
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
void TDocument::dropBreakpointsOfEmptiedText() {
    if (breakpoints.empty() || !text->isEmpty())
        return;
    breakpoints.clear();
    Q_EMIT OnBreakpointsChanged();
}
