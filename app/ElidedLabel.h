#pragma once

// A status bar panel that a long message does not widen: what does not fit is
// cut at the end with an ellipsis, and hovering over it shows the whole text.

#include <QLabel>

class TElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit TElidedLabel(QWidget* parent);

    // The text as the panel shows it at its width.
    QString ShownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};
