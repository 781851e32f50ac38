// The code column: its geometry from the editor font, its rows level with the
// text's lines, the border that the user can drag, and the live run's strip
// beside it.

#include "BrenvikControl.h"
#include "CodeFormat.h"
#include "RichEdit2.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int textX = 3; // where a row's address and byte groups start
constexpr int borderHotZone = 4;
constexpr int breakpointGap = borderHotZone + 2; // between a breakpoint's dot and the border
constexpr int minimumBorderX = 2;
const QColor borderColour(0x80, 0x80, 0x80);

// Tab stops for label, mnemonic, operand and comment, in twips per digit width.
constexpr int tabStopTwips[] = {120, 200, 480};
constexpr double twipsPerInch = 1440.0;

} // namespace

std::size_t TBrenvik::PaintCode(QPainter& canvas, std::uint32_t index, int atBytesX, int y,
                                std::size_t maxBytes, std::size_t firstByte) const {
    const Assembly::Line& line = document.GetAssembly().lines[index];
    // A line that invokes a macro holds every byte of its expansion: those the column
    // has no room for are said with "...".
    const int room =
        (codeWidth - atBytesX - textX) / std::max(1, canvas.fontMetrics().horizontalAdvance("000 "));
    const bool cut = line.kind == Assembly::Line::expansion && firstByte == 0 &&
                     line.code.size() > static_cast<std::size_t>(std::max(room, 1)) &&
                     maxBytes > static_cast<std::size_t>(room);
    const CodeRow row =
        codeRow(line, cut ? static_cast<std::size_t>(std::max(room - 1, 1)) : maxBytes, firstByte);
    const int baseline = y + canvas.fontMetrics().ascent();
    if (!row.address.empty())
        canvas.drawText(textX, baseline, QString::fromLatin1(row.address));
    if (!row.bytes.empty())
        canvas.drawText(atBytesX + textX, baseline, QString::fromLatin1(row.bytes) + (cut ? "..." : ""));
    return row.nextByte;
}

void TBrenvik::Paint(QPainter& canvas) {
    codeRect = QRect(0, 0, codeWidth + liveStrip.Width(), height());
    if (codeRect.width() <= 0)
        return;
    // As many pixels as the screen has, so that the digits are as sharp as the text.
    const qreal pixelRatio = devicePixelRatioF();
    if (codeBitmap.isNull() || codeBitmap.devicePixelRatio() != pixelRatio) {
        codeBitmap = QPixmap(codeRect.size() * pixelRatio);
        codeBitmap.setDevicePixelRatio(pixelRatio);
        codeBitmap.fill(palette().color(QPalette::Base));
    }
    QPainter bitmap(&codeBitmap);
    QFont fixed = GetFont();
    fixed.setFixedPitch(true);
    bitmap.setFont(fixed);
    bitmap.fillRect(codeRect, palette().color(QPalette::Base));
    bitmap.setPen(palette().color(QPalette::Text));
    const auto records = static_cast<int>(document.GetAssembly().lines.size());
    const int rowHeight = bitmap.fontMetrics().height();
    const std::vector<int> marked = document.BreakpointLines();
    for (QTextBlock block = textArea->firstVisible(); block.isValid(); block = block.next()) {
        const int y = textArea->blockTop(block);
        if (y > codeRect.bottom())
            break;
        if (document.IsAssemblyCurrent() && block.blockNumber() < records)
            PaintCode(bitmap, static_cast<std::uint32_t>(block.blockNumber()), bytesX, y, 999, 0);
        if (std::binary_search(marked.begin(), marked.end(), block.blockNumber()))
            paintBreakpoint(bitmap, y, rowHeight);
        liveStrip.PaintLine(bitmap, palette(), codeWidth, static_cast<std::size_t>(block.blockNumber()), y,
                            rowHeight);
    }
    bitmap.setPen(borderColour);
    bitmap.drawLine(codeWidth - 1, 0, codeWidth - 1, height());
    bitmap.end();
    canvas.drawPixmap(0, 0, codeBitmap);
}

// A dot at the column's right edge, clear of the address.
void TBrenvik::paintBreakpoint(QPainter& canvas, int y, int rowHeight) const {
    const int diameter = std::max(rowHeight * 2 / 3, 4);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing);
    canvas.setPen(Qt::NoPen);
    canvas.setBrush(markColours.breakpoint);
    canvas.drawEllipse(codeWidth - diameter - breakpointGap, y + (rowHeight - diameter) / 2, diameter,
                       diameter);
    canvas.restore();
}

void TBrenvik::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    Paint(canvas);
}

void TBrenvik::resetMargins() {
    const int textLeft = codeWidth + liveStrip.Width();
    textArea->setGeometry(textLeft, 0, std::max(width() - textLeft, 0), height());
    codeBitmap = QPixmap();
}

void TBrenvik::resizeEvent(QResizeEvent*) {
    resetMargins();
}

void TBrenvik::SetFont(const QFont& font, const QColor& colour) {
    const bool modified = GetModified();
    textArea->setUpdatesEnabled(false);
    QPalette colours = textArea->palette();
    colours.setColor(QPalette::Text, colour);
    textArea->setPalette(colours);
    takeFont(font, 20);
    // All text takes the font's colour: the marks of the last run are gone.
    clearMarks(*textArea->document());
    textArea->setUpdatesEnabled(true);
    SetModified(modified);
    update();
}

void TBrenvik::SetZoomedFont(const QFont& font) {
    const bool modified = GetModified();
    const double digitsWide =
        static_cast<double>(codeWidth) / std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
    textArea->setUpdatesEnabled(false);
    takeFont(font, digitsWide);
    textArea->setUpdatesEnabled(true);
    SetModified(modified);
    update();
}

// The font for the text and the code column, whose border stands `codeDigits`
// of its digits from the left; the tab stops go with the digits.
void TBrenvik::takeFont(const QFont& font, double codeDigits) {
    setFont(font);
    textArea->setFont(font);
    const int digitWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    codeWidth = static_cast<int>(codeDigits * digitWidth + 0.5);
    bytesX = 7 * digitWidth;
    liveStrip.SetDigitWidth(digitWidth);
    resetMargins();
    QTextOption option = textArea->document()->defaultTextOption();
    QList<QTextOption::Tab> tabs;
    for (const int twips : tabStopTwips)
        tabs.append(
            QTextOption::Tab(twips * digitWidth * logicalDpiX() / twipsPerInch, QTextOption::LeftTab));
    option.setTabs(tabs);
    textArea->document()->setDefaultTextOption(option);
}

bool TBrenvik::nearBorder(int x) const {
    return std::abs(x - codeWidth) <= borderHotZone;
}

void TBrenvik::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    draggingBorder = nearBorder(at.x());
    if (draggingBorder || at.x() >= codeWidth || event->button() != Qt::LeftButton)
        return;
    // A click beside a line sets or clears its breakpoint.
    if (const int line = lineBeside(at.y()); line >= 0)
        document.ToggleBreakpoint(line);
}

int TBrenvik::lineBeside(int y) const {
    const QTextBlock beside = textArea->cursorForPosition(QPoint(0, y - textArea->viewport()->y())).block();
    const int top = textArea->blockTop(beside);
    return top <= y && y < top + textArea->blockHeight(beside) ? beside.blockNumber() : -1;
}

void TBrenvik::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (nearBorder(x))
        setCursor(Qt::SizeHorCursor);
    else
        unsetCursor();
    if (!draggingBorder)
        return;
    codeWidth = std::min(std::max(x, minimumBorderX), width() - liveStrip.Width() - minimumBorderX);
    resetMargins();
    repaint(0, 0, width(), height());
}

void TBrenvik::mouseReleaseEvent(QMouseEvent*) {
    draggingBorder = false;
}

void TBrenvik::SetLiveColumn(bool on) {
    const int width = liveStrip.Width();
    liveStrip.Show(on, fontMetrics().horizontalAdvance(QLatin1Char('0')));
    if (liveStrip.Width() == width)
        return;
    resetMargins();
    update();
}

void TBrenvik::SetLiveResult(std::shared_ptr<const LiveResult> result) {
    if (!document.IsAssemblyCurrent())
        return;
    liveStrip.SetResult(std::move(result));
    update(codeRect);
}

bool TBrenvik::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !liveStrip.Result())
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int x = help->pos().x();
    const int line = x >= codeWidth && x < codeWidth + liveStrip.Width() ? lineBeside(help->pos().y()) : -1;
    const QString tip = line >= 0 ? liveStrip.TipOf(static_cast<std::size_t>(line)) : QString();
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this);
    return true;
}
