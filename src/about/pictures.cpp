#include "about/pictures.h"

#include <QImageReader>

#include <array>

namespace {

// Every picture is a PNG. Left to guess, Qt would load every image plugin to ask whether it
// reads the file, which held the first window back by milliseconds.
QImage png(const QString& file) {
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace

QIcon idleIcon() {
    // Drawn for each size a panel or title bar asks for: scaled down, the clock's hands blur.
    // Read once: every window and the tray show it.
    static const QIcon icon = [] {
        QIcon sizes;
        for (int size : {16, 22, 32, 48}) {
            sizes.addPixmap(
                QPixmap::fromImage(png(QStringLiteral(":/images/tray-idle-%1.png").arg(size))));
        }
        return sizes;
    }();
    return icon;
}

QIcon trayFrame(int number) {
    // Read once: the tray shows a frame every second, and a new icon each time would decode
    // its file again and leave another copy of the picture in the pixmap cache.
    static const std::array<QIcon, 4> frames = [] {
        std::array<QIcon, 4> icons;
        for (std::size_t i = 0; i < icons.size(); ++i) {
            icons[i] =
                QIcon(QPixmap::fromImage(png(QStringLiteral(":/images/tray-frame-%1.png").arg(i))));
        }
        return icons;
    }();
    return frames.at(static_cast<std::size_t>(number));
}

QPixmap logoPicture() {
    return QPixmap::fromImage(png(QStringLiteral(":/images/logo.png")));
}

QPixmap aboutBackground() {
    return QPixmap::fromImage(png(QStringLiteral(":/images/about-background.png")));
}

QPixmap lockEmblem() {
    return QPixmap::fromImage(png(QStringLiteral(":/images/lock-emblem.png")));
}

QPixmap lockTile() {
    return QPixmap::fromImage(png(QStringLiteral(":/images/lock-tile.png")));
}
