#include "DocumentTextArea.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

constexpr char wideStandIn = '?';

void setFormats(QTextDocument& document, const QTextBlock& block, const QList<QTextLayout::FormatRange>& formats) {
    block.layout()->setFormats(formats);
    document.markContentsDirty(block.position(), block.length());
}

} // namespace

std::size_t DocumentTextArea::lineCount() const {
    const QTextDocument& document = *edit.document();
    const int blocks = document.blockCount();
    // A final line break does not start another line.
    return static_cast<std::size_t>(document.lastBlock().length() == 1 ? blocks - 1 : blocks);
}

void DocumentTextArea::readLine(std::size_t index, SourceLine& out) const {
    const QString text = edit.document()->findBlockByNumber(static_cast<int>(index)).text();
    out.text.resize(static_cast<std::size_t>(text.size()));
    out.wideColumns.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit > 0xFF) {
            out.text[static_cast<std::size_t>(i)] = wideStandIn;
            out.wideColumns.push_back(static_cast<std::uint32_t>(i + 1));
        } else {
            out.text[static_cast<std::size_t>(i)] = static_cast<char>(unit);
        }
    }
}

void DocumentTextArea::markLine(std::size_t index, std::uint32_t column, MarkColour colour) {
    QTextDocument& document = *edit.document();
    const QTextBlock block = document.findBlockByNumber(static_cast<int>(index));
    if (!block.isValid())
        return;
    const int start = static_cast<int>(column) - 1;
    const int end = block.length() - 1;
    // The new mark covers everything from its column on: trim what was there.
    QList<QTextLayout::FormatRange> formats = block.layout()->formats();
    for (qsizetype i = formats.size() - 1; i >= 0; --i) {
        QTextLayout::FormatRange& range = formats[i];
        if (range.start >= start)
            formats.removeAt(i);
        else if (range.start + range.length > start)
            range.length = start - range.start;
    }
    if (colour != MarkColour::Default && start < end) {
        QTextCharFormat format;
        format.setForeground(colourOf(colour));
        formats.append({start, end - start, format});
    }
    setFormats(document, block, formats);
}

void DocumentTextArea::clearAllMarks() {
    QTextDocument& document = *edit.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (!block.layout()->formats().isEmpty())
            setFormats(document, block, {});
}

QColor DocumentTextArea::colourOf(MarkColour colour) {
    switch (colour) {
    case MarkColour::Error: return QColor(255, 0, 0);
    case MarkColour::Comment: return QColor(0, 0, 255);
    default: return {};
    }
}
