#include "LineHighlights.h"
#include "RichEdit2.h"

#include <QTextBlock>

LineHighlights::LineHighlights(TRichEdit2& textArea) : QObject(&textArea), textArea(textArea) {
    flash.setSingleShot(true);
    flash.setInterval(flashMilliseconds);
    connect(&flash, &QTimer::timeout, this, &LineHighlights::show);
}

void LineHighlights::SetColours(const MarkColours& lineColours) {
    colours = lineColours;
    show();
}

void LineHighlights::SetExecutionLine(int line) {
    if (line == executionLine)
        return;
    const QTextBlock block = textArea.document()->findBlockByNumber(line);
    if (block.isValid()) {
        const int top = textArea.blockTop(block);
        if (top < 0 || top + textArea.fontMetrics().height() > textArea.viewport()->height())
            textArea.centerOn(block);
    }
    executionLine = block.isValid() ? line : -1;
    show();
}

void LineHighlights::Flash(int line) {
    flashedLine = line;
    flash.start();
    show();
}

void LineHighlights::show() {
    QList<QTextEdit::ExtraSelection> highlights;
    const auto highlight = [&](int line, const QColor& colour) {
        const QTextBlock block = textArea.document()->findBlockByNumber(line);
        if (line < 0 || !block.isValid())
            return;
        QTextEdit::ExtraSelection whole;
        whole.format.setBackground(colour);
        whole.format.setProperty(QTextFormat::FullWidthSelection, true);
        whole.cursor = QTextCursor(block);
        highlights.append(whole);
    };
    highlight(executionLine, colours.execution);
    if (flash.isActive())
        highlight(flashedLine, colours.navigation);
    textArea.setExtraSelections(highlights);
}
