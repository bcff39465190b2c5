#pragma once

#include <QRect>
#include <QSize>

// Window layouts are designed in twips: 15 twips to a pixel at 96 dots per inch.
constexpr int twips(double t) {
    return static_cast<int>(t / 15.0 + (t >= 0 ? 0.5 : -0.5));
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

constexpr QSize twipsSize(int width, int height) {
    return QSize(twips(width), twips(height));
}

// Gives a control its designed place and hands it back, so it is made and placed at once.
template <class W>
W* placed(W* widget, const QRect& geometry) {
    widget->setGeometry(geometry);
    return widget;
}
