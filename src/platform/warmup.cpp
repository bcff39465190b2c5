#include "platform/warmup.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>

void loadFontsAndImagePlugins() {
    // Fontconfig's list of every font, and the fallbacks of the application's font.
    QFontDatabase::families();
    QFontMetrics(QGuiApplication::font()).height();
    // Qt reads its own pictures (the styles' icons) only after asking every image plugin
    // whether it reads them, which loads each plugin and its libraries.
    QImageReader(QStringLiteral(":/images/logo.png")).format();
}
