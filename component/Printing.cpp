// The printed listing: the code column in the left quarter of each page, with
// long lines' bytes continued on rows of their own, and each source line with
// its marks 0.2 inch right of the border.

#include "BrenvikControl.h"
#include "RichEdit2.h"

#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextLayout>

namespace {

constexpr double textGapInches = 0.2;
const QColor borderColour(0x80, 0x80, 0x80);

// Line `block` laid out for the printer, with the screen's tab stops (which the
// layout scales to the printer's resolution itself) and marks.
void drawLine(QPainter& canvas, const QTextBlock& block, const QFont& font, QPointF at, double width) {
    QTextLayout layout(block.text(), font, canvas.device());
    QTextOption option = block.document()->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setFormats(block.layout()->formats());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(width);
    layout.endLayout();
    layout.draw(&canvas, at);
}

} // namespace

void TBrenvik::Print(QPrinter& printer, bool selectionOnly) {
    // The listing is never out of step with the text.
    const Assembly& assembly = document.CurrentAssembly();
    const QTextDocument& text = document.Text();
    const QTextCursor selection = textArea->textCursor();
    int first = 0;
    int last = static_cast<int>(assembly.lines.size()) - 1;
    if (selectionOnly && selection.hasSelection()) {
        first = text.findBlock(selection.selectionStart()).blockNumber();
        last = text.findBlock(selection.selectionEnd() - 1).blockNumber();
    }

    QPainter canvas(&printer);
    const QFont font(GetFont(), &printer);
    canvas.setFont(font);
    const int pageWidth = printer.width();
    const int pageHeight = printer.height();
    const int borderX = pageWidth / 4;
    const int cx = canvas.fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int cy = canvas.fontMetrics().height();
    // Room for fewer than one byte group still prints one, so that printing ends.
    const auto bytesPerRow = static_cast<std::size_t>(std::max((borderX / cx - 9) / 4, 1));
    const int printBytesX = 7 * cx;
    const double textX = borderX + textGapInches * printer.resolution();

    int y = 0;
    std::size_t byte = 0;
    for (int line = first; line <= last;) {
        if (pageHeight < y + cy) {
            printer.newPage();
            y = 0;
        }
        if (y == 0) {
            canvas.setPen(borderColour);
            canvas.drawLine(borderX, 0, borderX, pageHeight);
        }
        canvas.setPen(GetFontColour());
        if (byte == 0) {
            canvas.save();
            canvas.setClipRect(QRectF(textX, y, pageWidth - textX, cy));
            drawLine(canvas, text.findBlockByNumber(line), font, {textX, static_cast<double>(y)},
                     pageWidth - textX);
            canvas.restore();
        }
        byte = PaintCode(canvas, static_cast<std::uint32_t>(line), printBytesX, y, bytesPerRow, byte);
        y += cy;
        if (assembly.lines[static_cast<std::size_t>(line)].code.size() <= byte) {
            byte = 0;
            ++line;
        }
    }
}
