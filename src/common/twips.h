#pragma once

#include <QRect>
#include <QSize>

// Window layouts are designed in twips for 8 pt "MS Sans Serif" at 96 dots per inch, 15 twips
// to a pixel. Like classic dialog units, the unit follows the application font: a font whose
// characters are wider or taller than the design font's makes every window proportionally
// larger, so no caption is cut; a smaller one never makes a window smaller than designed.
double pixelsPerTwip();

// The unit grows with the font no further than this many pixels a twip (so that the tallest
// window still fits the screen), and never below its designed size.
void limitPixelsPerTwip(double limit);

inline int twips(double t) {
    const double pixels = t * pixelsPerTwip();
    return static_cast<int>(pixels + (pixels >= 0 ? 0.5 : -0.5));
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

inline QSize twipsSize(int width, int height) {
    return QSize(twips(width), twips(height));
}

// Gives a control its designed place and hands it back, so it is made and placed at once.
template <class W>
W* placed(W* widget, const QRect& geometry) {
    widget->setGeometry(geometry);
    return widget;
}
