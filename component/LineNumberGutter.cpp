#include "LineNumberGutter.h"

#include "RichEdit2.h"

#include <QPainter>
#include <QTextBlock>

namespace {

constexpr int paddingDigits = 1; // half a digit on each side of the numbers

} // namespace

TLineNumberGutter::TLineNumberGutter(TRichEdit2& text) : QWidget(&text), text(text) {
    setObjectName(QStringLiteral("LineNumbers"));
}

int TLineNumberGutter::neededWidth() const {
    const int digits = static_cast<int>(QString::number(std::max(1, text.blockCount())).size());
    return text.fontMetrics().horizontalAdvance(u'9') * (digits + paddingDigits);
}

void TLineNumberGutter::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    painter.setFont(text.font());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int right = width() - text.fontMetrics().horizontalAdvance(u'9') / 2;
    for (QTextBlock block = text.firstVisible(); block.isValid(); block = block.next()) {
        const int top = text.blockTop(block) - text.viewport()->y();
        if (top > event->rect().bottom())
            break;
        if (block.isVisible())
            painter.drawText(0, top, right, text.blockHeight(block), Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + 1));
    }
}
