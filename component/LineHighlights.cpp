// The line the program stands on, and the one just navigated to, lit across the text.

#include "BrenvikControl.h"
#include "RichEdit2.h"

#include <QTextBlock>

#include <algorithm>

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
