// The live run's strip: its width in digits, how it draws a line's figures, and its tooltip.

#include "LiveStrip.h"

#include <QPainter>
#include <QPalette>

#include <cmath>

namespace {

// In digit widths: a margin, the count, a gap, the bar, a margin.
constexpr int countDigits = 4, barDigits = 5;
constexpr int stripDigits = 1 + countDigits + 1 + barDigits + 1;

// Warm colours that read on a light and on a dark background alike: the
// busiest line's bar red, a line of little weight amber.
const QColor coolBar(0xF0, 0xA0, 0x00);
const QColor hotBar(0xE0, 0x31, 0x31);
constexpr int trackAlpha = 40;  // the bar's full length, faintly, behind it
constexpr int neverAlpha = 120; // the mark of a line that never ran, dimmed

QColor between(const QColor& from, const QColor& to, double share) {
    const auto mix = [share](int a, int b) { return static_cast<int>(a + (b - a) * share + 0.5); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

} // namespace

void LiveStrip::Show(bool on, int digitWidth) {
    width = on ? stripDigits * digitWidth : 0;
}

void LiveStrip::SetDigitWidth(int digitWidth) {
    Show(width > 0, digitWidth);
}

bool LiveStrip::Drop() {
    const bool had = result != nullptr;
    result.reset();
    return had;
}

void LiveStrip::PaintLine(QPainter& canvas, const QPalette& colours, int left, std::size_t index, int y,
                          int rowHeight) const {
    if (width == 0 || !result || index >= result->lines.size() || !result->lines[index].hasCode)
        return;
    const LineRun& line = result->lines[index];
    const int digit = canvas.fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int countRight = left + (1 + countDigits) * digit;
    const QRect countBox(left, y, countRight - left, rowHeight);
    QColor text = colours.color(QPalette::Text);
    if (line.executions == 0) {
        // Never ran: a dimmed dash, unlike any count.
        text.setAlpha(neverAlpha);
        canvas.setPen(text);
        canvas.drawText(countBox, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("\u2013"));
        canvas.setPen(colours.color(QPalette::Text));
        return;
    }
    canvas.drawText(countBox, Qt::AlignRight | Qt::AlignVCenter,
                    QString::fromStdString(compactCount(line.executions)));
    // The bar in device pixels, so that it is sharp at any scale; a line that
    // took any states has at least one.
    const qreal pixel = 1 / canvas.device()->devicePixelRatioF();
    const QRectF track(countRight + digit, y + rowHeight / 4.0, barDigits * digit, rowHeight / 2.0);
    QColor faint = text;
    faint.setAlpha(trackAlpha);
    canvas.fillRect(track, faint);
    const double share = result->states == 0 ? 0 : static_cast<double>(line.states) / result->states;
    const double weight =
        result->busiestLineStates == 0 ? 0 : static_cast<double>(line.states) / result->busiestLineStates;
    const qreal length = std::max(pixel, std::round(track.width() * share / pixel) * pixel);
    canvas.fillRect(QRectF(track.topLeft(), QSizeF(length, track.height())),
                    between(coolBar, hotBar, weight));
}

QString LiveStrip::TipOf(std::size_t index) const {
    if (!result || index >= result->lines.size() || !result->lines[index].hasCode)
        return {};
    return QStringLiteral("Line %1: %2")
        .arg(index + 1)
        .arg(QString::fromStdString(lineRunText(result->lines[index], result->states)));
}
