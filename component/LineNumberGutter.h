#pragma once

// The optional strip of line numbers at the left of the text area, between the
// code column's border and the text: 1-based, right-aligned, level with their
// lines, in the text's font and a quieter colour.

#include <QWidget>

class TRichEdit2;

class TLineNumberGutter : public QWidget {
  public:
    explicit TLineNumberGutter(TRichEdit2& text);

    // As wide as the largest line number needs, with room on either side.
    int neededWidth() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TRichEdit2& text;
};
