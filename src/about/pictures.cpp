#include "about/pictures.h"

#include <array>

QIcon idleIcon() {
    // Drawn for each size a panel or title bar asks for: scaled down, the clock's hands blur.
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        icon.addFile(QStringLiteral(":/images/tray-idle-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QIcon trayFrame(int number) {
    // Read once: the tray shows a frame every second, and a new icon each time would decode
    // its file again and leave another copy of the picture in the pixmap cache.
    static const std::array<QIcon, 4> frames = [] {
        std::array<QIcon, 4> icons;
        for (std::size_t i = 0; i < icons.size(); ++i) {
            icons[i] = QIcon(QStringLiteral(":/images/tray-frame-%1.png").arg(i));
        }
        return icons;
    }();
    return frames.at(static_cast<std::size_t>(number));
}

QPixmap logoPicture() {
    return QPixmap(QStringLiteral(":/images/logo.png"));
}

QPixmap aboutBackground() {
    return QPixmap(QStringLiteral(":/images/about-background.png"));
}

QPixmap lockEmblem() {
    return QPixmap(QStringLiteral(":/images/lock-emblem.png"));
}

QPixmap lockTile() {
    return QPixmap(QStringLiteral(":/images/lock-tile.png"));
}
