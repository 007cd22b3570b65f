#pragma once

#include <QRect>

namespace zelkor::ui {

// The layout is given in twips: 1440 to the inch, so 15 to a logical pixel at 96 DPI.
constexpr int TwipsPerPixel = 15;

// A position in twips as logical pixels, to the nearest pixel.
constexpr int pixels(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

// A box given in twips as left, top, width, height. Its edges are rounded, not its
// size, so that boxes that meet in twips still meet in pixels.
constexpr QRect boxFromTwips(int left, int top, int width, int height) {
    return QRect(QPoint(pixels(left), pixels(top)),
                 QPoint(pixels(left + width) - 1, pixels(top + height) - 1));
}

} // namespace zelkor::ui
