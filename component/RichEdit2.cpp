#include "RichEdit2.h"
#include "LineNumberGutter.h"
#include "ScrollBarStyle.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <QWheelEvent>

TRichEdit2::TRichEdit2(QWidget* owner) : QPlainTextEdit(owner), gutter(new TLineNumberGutter(*this)) {
    gutter->hide();
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* scrollBarStyle = new TScrollBarStyle;
    scrollBarStyle->setParent(this);
    horizontalScrollBar()->setStyle(scrollBarStyle);
    verticalScrollBar()->setStyle(scrollBarStyle);
    setTabChangesFocus(false);
    document()->setDocumentMargin(0);
    // The strip left of the text is outside the viewport: fill it like the text's background.
    setViewportMargins(leftMargin, 0, 0, 0);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    SetHideSelection(true);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rows, int dy) {
        if (dy != 0)
            Q_EMIT OnVertScroll();
        if (gutter->isVisible()) // a scroll repaints the whole view, a caret's blink its row
            gutter->update(0, rows.y(), gutter->width(), rows.height());
    });
    connect(this, &QPlainTextEdit::blockCountChanged, this, &TRichEdit2::placeGutter);
}

namespace {

// The wave of a warning: at least this thick and this high, in pixels of the
// text, so that it reads at every scale; higher with a thicker font.
constexpr qreal smallestWavePen = 1.5;
constexpr qreal smallestWaveHeight = 3.0;

QPainterPath wave(qreal left, qreal right, qreal y, qreal height) {
    const qreal halfPeriod = 2 * height;
    QPainterPath path(QPointF(left, y));
    for (qreal x = left, up = -1; x < right; x += halfPeriod, up = -up)
        path.quadTo(QPointF(x + halfPeriod / 2, y + up * height),
                    QPointF(std::min(x + halfPeriod, right), y));
    return path;
}

} // namespace

bool TRichEdit2::GetLineNumbers() const {
    return !gutter->isHidden();
}

void TRichEdit2::SetLineNumbers(bool on) {
    gutter->setVisible(on);
    placeGutter();
}

// The gutter takes its width from the margin left of the text; the 8 pixels
// beside the code column's border stay.
void TRichEdit2::placeGutter() {
    const int width = GetLineNumbers() ? gutter->neededWidth() : 0;
    setViewportMargins(width + leftMargin, 0, 0, 0);
    const QRect contents = contentsRect();
    gutter->setGeometry(contents.left(), contents.top(), width, viewport()->height());
    gutter->update();
}

void TRichEdit2::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    placeGutter();
}

void TRichEdit2::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeGutter();
}

// The text area alone would zoom its own font; the window zooms the code column with it.
void TRichEdit2::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier))
        return QPlainTextEdit::wheelEvent(event);
    constexpr int notch = 120; // the angle of one step of a wheel, in eighths of a degree
    wheelAngle += event->angleDelta().y();
    if (const int steps = wheelAngle / notch; steps != 0) {
        wheelAngle -= steps * notch;
        Q_EMIT OnZoom(steps);
    }
    event->accept();
}

void TRichEdit2::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    drawWarningWaves(painter, event->rect());
}

// Over the font's own hairline wave, which hardly shows at the usual sizes.
void TRichEdit2::drawWarningWaves(QPainter& painter, const QRect& area) {
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal penWidth = std::max(smallestWavePen, fontMetrics().lineWidth() * smallestWavePen);
    const qreal height = std::max(smallestWaveHeight, penWidth);
    const QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > area.bottom())
            break;
        const QTextLayout* layout = block.layout();
        for (const QTextLayout::FormatRange& range : layout->formats()) {
            if (range.format.underlineStyle() != QTextCharFormat::WaveUnderline)
                continue;
            const QTextLine line = layout->lineForTextPosition(range.start);
            if (!line.isValid())
                continue;
            const qreal left = box.left() + line.cursorToX(range.start);
            const qreal right = box.left() + line.cursorToX(range.start + range.length);
            const qreal y = box.top() + line.y() + line.ascent() + line.descent() / 2;
            painter.setPen(QPen(range.format.underlineColor(), penWidth, Qt::SolidLine, Qt::RoundCap));
            painter.drawPath(wave(left, right, y, height / 2));
        }
    }
}

void TRichEdit2::SetHideSelection(bool hide) {
    hideSelection = hide;
    QPalette colours = palette();
    const QPalette standard = QPalette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     hide ? colours.color(QPalette::Inactive, QPalette::Base)
                          : standard.color(QPalette::Inactive, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     hide ? colours.color(QPalette::Inactive, QPalette::Text)
                          : standard.color(QPalette::Inactive, QPalette::HighlightedText));
    setPalette(colours);
}

void TRichEdit2::centerOn(const QTextBlock& block) {
    // A plain-text edit scrolls by lines: its scroll bar's value is the first line shown.
    const int linesShown = viewport()->height() / std::max(1, fontMetrics().height());
    verticalScrollBar()->setValue(std::max(0, block.blockNumber() - linesShown / 2));
}

int TRichEdit2::blockTop(const QTextBlock& block) const {
    return viewport()->y() + qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
}

namespace {

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

void TRichEdit2::keyPressEvent(QKeyEvent* event) {
    QPlainTextEdit::keyPressEvent(event);
    if (isEnter(event))
        enterPressed = true;
}

void TRichEdit2::keyReleaseEvent(QKeyEvent* event) {
    QPlainTextEdit::keyReleaseEvent(event);
    // A held Enter repeats; only its final release indents.
    if (!isEnter(event) || event->isAutoRepeat())
        return;
    if (AutoIndent && enterPressed)
        autoIndent();
    enterPressed = false;
}

void TRichEdit2::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    enterPressed = false;
}

// Copies the leading tabs and spaces of the line above the caret's line to the caret.
void TRichEdit2::autoIndent() {
    QTextCursor cursor = textCursor();
    const QTextBlock above = document()->findBlock(cursor.selectionEnd()).previous();
    if (!above.isValid())
        return;
    const QString text = above.text();
    qsizetype blanks = 0;
    while (blanks < text.size() && (text[blanks] == '\t' || text[blanks] == ' '))
        ++blanks;
    if (blanks == 0)
        return;
    // One edit with the line break, so that one Undo takes both back.
    cursor.joinPreviousEditBlock();
    cursor.insertText(text.left(blanks) + cursor.selectedText());
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void TRichEdit2::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier) {
        Q_EMIT OnControlClick(cursorForPosition(event->position().toPoint()).position());
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}
