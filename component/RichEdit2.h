#pragma once

// The text area of the editor: a plain-text edit that reports every vertical
// scroll, indents a new line like the one above it, and keeps its text 8 pixels
// from its left edge, clear of the code column's border. It draws the wavy
// underline of a warning itself, bolder than the font's hairline.

#include <QPlainTextEdit>
#include <QTextBlock>

class TLineNumberGutter;

class TRichEdit2 : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TRichEdit2(QWidget* owner);

    bool AutoIndent = true;

    // Whether the selection is hidden while the text area has no focus.
    bool GetHideSelection() const { return hideSelection; }
    void SetHideSelection(bool hide);

    // The y, in this widget, of the top of `block` as it is laid out now.
    int blockTop(const QTextBlock& block) const;
    int blockHeight(const QTextBlock& block) const { return qRound(blockBoundingRect(block).height()); }
    QTextBlock firstVisible() const { return firstVisibleBlock(); }
    // Scrolls `block` to the middle of the view.
    void centerOn(const QTextBlock& block);

    static constexpr int leftMargin = 8;

    // Line numbers in a strip of their own left of the text; off at first.
    bool GetLineNumbers() const;
    void SetLineNumbers(bool on);

  Q_SIGNALS:
    void OnVertScroll();
    // Ctrl and a click of the left button at `position` of the text, which the text leaves alone.
    void OnControlClick(int position);
    // Ctrl and the wheel: a wish for a larger (steps above 0) or smaller text.
    void OnZoom(int steps);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void autoIndent();
    void drawWarningWaves(QPainter& painter, const QRect& area);
    void placeGutter();

    TLineNumberGutter* gutter;
    int wheelAngle = 0; // of Ctrl and the wheel, not yet a whole step

    bool hideSelection = true;
    // Whether this text area took the press of the Enter whose release may come:
    // a release whose press went to a dialog or a menu must not indent.
    bool enterPressed = false;
};
