#include "about/pictures.h"

QIcon idleIcon() {
    return QIcon(QStringLiteral(":/images/tray-idle.png"));
}

QIcon trayFrame(int number) {
    return QIcon(QStringLiteral(":/images/tray-frame-%1.png").arg(number));
}

QPixmap logoPicture() {
    return QPixmap(QStringLiteral(":/images/logo.png"));
}
