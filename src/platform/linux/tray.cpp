#include "platform/linux/tray.h"

#include "about/pictures.h"

#include <QSystemTrayIcon>

LinuxTray::LinuxTray() {
    // Without a notification area the program must notice one that appears later. The check
    // runs only while none is there, so a normal desktop pays nothing for it.
    watch_.setInterval(5000);
    connect(&watch_, &QTimer::timeout, this, &LinuxTray::watchAvailability);
}

LinuxTray::~LinuxTray() = default;

bool LinuxTray::available() {
    lastAvailable_ = QSystemTrayIcon::isSystemTrayAvailable();
    if (!lastAvailable_ && !watch_.isActive()) {
        watch_.start();
    }
    return lastAvailable_;
}

void LinuxTray::watchAvailability() {
    const bool now = QSystemTrayIcon::isSystemTrayAvailable();
    if (now) {
        watch_.stop();
    }
    if (now != lastAvailable_) {
        lastAvailable_ = now;
        Q_EMIT availabilityChanged(now);
    }
}

void LinuxTray::ensureIcon() {
    if (icon_) {
        return;
    }
    icon_ = std::make_unique<QSystemTrayIcon>();
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // Both are reported when the button is released over the icon.
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) {
                    Q_EMIT buttonReleased();
                }
            });
}

void LinuxTray::apply(int picture, const QString& tip) {
    if (picture != picture_) {
        picture_ = picture;
        icon_->setIcon(picture == kTrayIdle ? idleIcon() : trayFrame(picture));
    }
    if (tip != tip_) {
        tip_ = tip;
        icon_->setToolTip(tip);
    }
}

void LinuxTray::add(int picture, const QString& tip) {
    ensureIcon();
    apply(picture, tip);
    if (!icon_->isVisible()) {
        icon_->show();
    }
}

void LinuxTray::modify(int picture, const QString& tip) {
    if (icon_) {
        apply(picture, tip);
    }
}

void LinuxTray::remove() {
    if (icon_) {
        icon_->hide();
        icon_.reset();
        picture_ = kTrayIdle + 100;
        tip_.clear();
    }
}
