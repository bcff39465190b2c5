#include "lock/lockcover.h"

#include "about/pictures.h"
#include "common/version.h"
#include "platform/services.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScreen>

LockCover::LockCover(ScreenLockService& screenLock, QScreen* screen)
    : QWidget(nullptr), screenLock_(screenLock) {
    // The password box keeps the keyboard: the window manager never gives it to a cover.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Named as the lock itself wherever the desktop lists windows.
    setWindowTitle(versionCaption());
    setScreen(screen);
    setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
}

void LockCover::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    screenLock_.prepare(this);
}

void LockCover::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(42, 84, 126));
    painter.drawTiledPixmap(rect(), lockTile());
}

void LockCover::closeEvent(QCloseEvent* event) {
    // Only the right password in the lock takes it away.
    event->ignore();
}
