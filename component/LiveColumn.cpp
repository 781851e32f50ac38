// The live run's strip right of the code column: per line, how often it ran
// and, as a bar, its share of the run's states; a tooltip tells the figures.

#include "BrenvikControl.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// In digit widths: a margin, the count, a gap, the bar, a margin.
constexpr int countDigits = 4, barDigits = 5;
constexpr int liveDigits = 1 + countDigits + 1 + barDigits + 1;

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

int TBrenvik::liveStripWidth() const {
    return liveDigits * fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

void TBrenvik::SetLiveColumn(bool on) {
    const int width = on ? liveStripWidth() : 0;
    if (width == liveWidth)
        return;
    liveWidth = width;
    resetMargins();
    update();
}

void TBrenvik::SetLiveResult(std::shared_ptr<const LiveResult> result) {
    if (!document.IsAssemblyCurrent())
        return;
    liveResult = std::move(result);
    update(codeRect);
}

void TBrenvik::paintLiveFigures(QPainter& canvas, const LineRun& line, int y, int rowHeight) const {
    if (!line.hasCode)
        return;
    const int digit = canvas.fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int countRight = codeWidth + (1 + countDigits) * digit;
    const QRect countBox(codeWidth, y, countRight - codeWidth, rowHeight);
    QColor text = palette().color(QPalette::Text);
    if (line.executions == 0) {
        // Never ran: a dimmed dash, unlike any count.
        text.setAlpha(neverAlpha);
        canvas.setPen(text);
        canvas.drawText(countBox, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("\u2013"));
        canvas.setPen(palette().color(QPalette::Text));
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
    const double share = liveResult->states == 0 ? 0 : static_cast<double>(line.states) / liveResult->states;
    const double weight = liveResult->busiestLineStates == 0
                              ? 0
                              : static_cast<double>(line.states) / liveResult->busiestLineStates;
    const qreal length = std::max(pixel, std::round(track.width() * share / pixel) * pixel);
    canvas.fillRect(QRectF(track.topLeft(), QSizeF(length, track.height())),
                    between(coolBar, hotBar, weight));
}

bool TBrenvik::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !liveResult)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int line = help->pos().x() >= codeWidth && help->pos().x() < codeWidth + liveWidth
                         ? lineBeside(help->pos().y())
                         : -1;
    if (line < 0 || static_cast<std::size_t>(line) >= liveResult->lines.size() ||
        !liveResult->lines[static_cast<std::size_t>(line)].hasCode) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(help->globalPos(),
                       QStringLiteral("Line %1: %2")
                           .arg(line + 1)
                           .arg(QString::fromStdString(lineRunText(
                               liveResult->lines[static_cast<std::size_t>(line)], liveResult->states))),
                       this);
    return true;
}
