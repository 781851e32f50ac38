#include "Marks.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <climits>

namespace {

using Formats = QList<QTextLayout::FormatRange>;

QTextCharFormat colour(const QColor& c) {
    QTextCharFormat format;
    format.setForeground(c);
    return format;
}

QTextCharFormat wavyUnderline(const QColor& c) {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(c);
    return format;
}

// Appends `format` over columns [from, to) of a line of `length` characters.
void add(Formats& formats, std::uint32_t from, std::uint32_t to, int length, const QTextCharFormat& format) {
    const int start = static_cast<int>(from) - 1;
    const int end = std::min(static_cast<int>(std::min<std::uint32_t>(to, INT_MAX)) - 1, length);
    if (start < end)
        formats.append({start, end - start, format});
}

// Replaces the formats of every line that differs, then lays them out once.
template <typename FormatsOfLine> void setFormats(QTextDocument& document, FormatsOfLine&& formatsOf) {
    std::uint32_t index = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++index) {
        const Formats formats = formatsOf(index, block.length() - 1);
        if (block.layout()->formats() != formats)
            block.layout()->setFormats(formats);
    }
    // Setting formats only notes the blocks as changed.
    document.markContentsDirty(0, document.characterCount());
}

} // namespace

MarkColours markColoursFor(const QColor& background) {
    constexpr int darkBelow = 128;
    if (background.lightness() >= darkBelow)
        return {};
    return {QColor(0xFF, 0x6B, 0x6B), QColor(0x7F, 0xB2, 0xFF), MarkColours{}.warning,
            QColor(0x55, 0x4B, 0x1E), QColor(0xFF, 0x50, 0x50)};
}

void showMarks(QTextDocument& document, const Assembly& assembly, const MarkColours& colours) {
    auto next = assembly.diagnostics.begin();
    const auto end = assembly.diagnostics.end();
    setFormats(document, [&](std::uint32_t index, int length) {
        Formats formats;
        if (index >= assembly.lines.size())
            return formats;
        const std::uint32_t comment = assembly.lines[index].comment;
        const std::uint32_t lineEnd = static_cast<std::uint32_t>(length) + 1;
        for (; next != end && next->line == index; ++next) {
            if (isError(*next))
                add(formats, next->column, comment != 0 ? comment : lineEnd, length, colour(colours.error));
            else
                add(formats, next->column, next->column + next->length, length,
                    wavyUnderline(colours.warning));
        }
        if (comment != 0)
            add(formats, comment, lineEnd, length, colour(colours.comment));
        std::stable_sort(formats.begin(), formats.end(),
                         [](const auto& a, const auto& b) { return a.start < b.start; });
        return formats;
    });
}

void clearMarks(QTextDocument& document) {
    setFormats(document, [](std::uint32_t, int) { return Formats(); });
}
