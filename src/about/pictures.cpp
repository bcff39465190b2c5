#include "about/pictures.h"

QIcon idleIcon() {
    // Drawn for each size a panel or title bar asks for: scaled down, the clock's hands blur.
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        icon.addFile(QStringLiteral(":/images/tray-idle-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QIcon trayFrame(int number) {
    return QIcon(QStringLiteral(":/images/tray-frame-%1.png").arg(number));
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
