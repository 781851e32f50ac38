#include "ScrollBarStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace {

// How far the thumb's shade goes from the button colour towards the text's.
constexpr double restingShare = 0.35;
constexpr double activeShare = 0.5;
constexpr int insetPixels = 2; // the track shows around the thumb

QColor blended(const QColor& from, const QColor& to, double share) {
    const auto mix = [share](int a, int b) { return static_cast<int>(a + (b - a) * share + 0.5); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue()));
}

} // namespace

QColor TScrollBarStyle::thumbColour(const QPalette& palette, bool active) {
    return blended(palette.color(QPalette::Button), palette.color(QPalette::ButtonText),
                   active ? activeShare : restingShare);
}

void TScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                         QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar || !(option->subControls & SC_ScrollBarSlider))
        return;
    const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget)
                            .adjusted(insetPixels, insetPixels, -insetPixels, -insetPixels);
    if (thumb.isEmpty())
        return;
    const bool active = (option->activeSubControls & SC_ScrollBarSlider) && (option->state & State_MouseOver);
    const bool pressed = (option->activeSubControls & SC_ScrollBarSlider) && (option->state & State_Sunken);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(thumbColour(option->palette, active || pressed));
    const qreal radius = std::min(thumb.width(), thumb.height()) / 2.0;
    painter->drawRoundedRect(QRectF(thumb), radius, radius);
    painter->restore();
}
