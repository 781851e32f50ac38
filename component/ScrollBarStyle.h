#pragma once

// Scroll bars whose thumb reads as the thumb. The platform's default style draws
// the thumb lighter than its track; when the text is only a little wider than the
// view the thumb fills nearly the whole track, and the sliver of track left at
// the far end looks like a thumb on the wrong side. This style draws the thumb
// in a shade between the button colour and the text colour, so that it stands
// out from its track on light and dark palettes alike.

#include <QProxyStyle>

class TScrollBarStyle : public QProxyStyle {
  public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

    // The thumb's colour in `palette`, stronger while it is hovered or dragged.
    static QColor thumbColour(const QPalette& palette, bool active);
};
