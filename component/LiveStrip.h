#pragma once

// The live run's strip, right of the code column: per line, how often it ran
// and, as a bar, its share of the run's states. Shown or hidden as a whole;
// its figures are those of one run, or none.

#include "LiveRun.h"

#include <QString>

#include <memory>

class QPainter;
class QPalette;

class LiveStrip {
  public:
    // In pixels, for digits `digitWidth` wide; 0 while hidden.
    int Width() const { return width; }
    // Whether it shows: its width follows the digits of the font.
    void Show(bool on, int digitWidth);
    void SetDigitWidth(int digitWidth);

    const LiveResult* Result() const { return result.get(); }
    void SetResult(std::shared_ptr<const LiveResult> figures) { result = std::move(figures); }
    // Forgets the figures; whether there were any.
    bool Drop();

    // Draws the figures of line `index` between `left` and `left + Width()`, in the row at `y`.
    void PaintLine(QPainter& canvas, const QPalette& colours, int left, std::size_t index, int y,
                   int rowHeight) const;
    // What hovering over line `index` tells; empty for a line without figures.
    QString TipOf(std::size_t index) const;

  private:
    int width = 0;
    std::shared_ptr<const LiveResult> result;
};
