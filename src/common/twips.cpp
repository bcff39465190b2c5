#include "common/twips.h"

#include <QApplication>
#include <QFontMetricsF>

#include <algorithm>

namespace {

// The design font's dialog base units at 96 dpi: its average character width (the 52 letters
// measured together, as dialog units are computed) and its character height, in pixels.
constexpr double kDesignCharWidth = 6.0;
constexpr double kDesignCharHeight = 13.0;

double scaleFor(const QFont& font) {
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(QStringLiteral(
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                         52.0;
    // One factor for both directions keeps the designed proportions (and square pictures).
    return std::max({1.0, width / kDesignCharWidth, metrics.height() / kDesignCharHeight});
}

double pixelsLimit = 0;

}  // namespace

void limitPixelsPerTwip(double pixels) {
    pixelsLimit = pixels;
}

double pixelsPerTwip() {
    // Measured once per application font: windows are laid out often, fonts change rarely.
    static QString measured;
    static double scale = 0;
    const QFont font = QApplication::font();
    if (scale == 0 || font.key() != measured) {
        measured = font.key();
        scale = scaleFor(font);
    }
    const double pixels = scale / 15.0;
    return pixelsLimit > 0 ? std::max(1.0 / 15.0, std::min(pixels, pixelsLimit)) : pixels;
}
