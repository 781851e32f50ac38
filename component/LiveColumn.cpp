// The live run's strip beside the code column, and what hovering over it tells.

#include "BrenvikControl.h"

#include <QHelpEvent>
#include <QToolTip>

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
