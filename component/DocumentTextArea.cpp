#include "DocumentTextArea.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

QColor colourOf(MarkColour colour) { return colour == MarkColour::Error ? QColor(255, 0, 0) : QColor(0, 0, 255); }

} // namespace

void DocumentTextArea::beginRun() {
    text = edit.document()->toRawText();
    starts.clear();
    starts.push_back(0);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QChar::ParagraphSeparator)
            starts.push_back(i + 1);
    starts.push_back(text.size() + 1); // the last line has no separator of its own
    pendingMarks.clear();
}

QList<QTextLayout::FormatRange> DocumentTextArea::formatsOf(const std::vector<MarkRun>& runs, int lineLength) {
    QList<QTextLayout::FormatRange> formats;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const int start = static_cast<int>(runs[i].column) - 1;
        const int end = i + 1 < runs.size() ? std::min(static_cast<int>(runs[i + 1].column) - 1, lineLength)
                                            : lineLength;
        if (runs[i].colour == MarkColour::Default || start >= end)
            continue;
        QTextCharFormat format;
        format.setForeground(colourOf(runs[i].colour));
        formats.append({start, end - start, format});
    }
    return formats;
}

void DocumentTextArea::endRun() {
    // Every line takes the marks of this run, or none: only lines whose colours
    // differ from the last run's are touched.
    QTextDocument& document = *edit.document();
    std::size_t index = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++index) {
        const auto marks = pendingMarks.find(index);
        const QList<QTextLayout::FormatRange> formats =
            marks == pendingMarks.end() ? QList<QTextLayout::FormatRange>() : formatsOf(marks->second, block.length() - 1);
        if (block.layout()->formats() != formats)
            block.layout()->setFormats(formats);
    }
    pendingMarks.clear();
    // Setting formats only notes the blocks as changed: lay them out once, here.
    document.markContentsDirty(0, document.characterCount());
}

void DocumentTextArea::clearMarks() {
    pendingMarks.clear();
    endRun();
}

std::size_t DocumentTextArea::lineCount() const {
    // A final line break does not start another line.
    const std::size_t lines = starts.size() - 1;
    return text.endsWith(QChar::ParagraphSeparator) || text.isEmpty() ? lines - 1 : lines;
}

void DocumentTextArea::readLine(std::size_t index, SourceLine& out) const {
    const qsizetype from = starts[index];
    const auto length = static_cast<std::size_t>(starts[index + 1] - 1 - from);
    out.text.resize(length);
    out.wideColumns.clear();
    const QChar* units = text.constData() + from;
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t unit = units[i].unicode();
        if (unit > 0xFF) {
            out.text[i] = wideStandIn;
            out.wideColumns.push_back(static_cast<std::uint32_t>(i + 1));
        } else {
            out.text[i] = static_cast<char>(unit);
        }
    }
}

void DocumentTextArea::markLine(std::size_t index, std::uint32_t column, MarkColour colour) {
    applyMark(pendingMarks[index], {column, colour});
}
