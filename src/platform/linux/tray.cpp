#include "platform/linux/tray.h"

#include "about/pictures.h"

#include <QGuiApplication>
#include <QMouseEvent>
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
            [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
}

void LinuxTray::activated(int reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context) {
        return;
    }
    // An XEmbed tray reports the press; a D-Bus tray reports a click that is already over.
    // The menu opens at the release, so the release cannot pick one of its items.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        Q_EMIT buttonReleased();
        return;
    }
    if (!awaitingRelease_) {
        awaitingRelease_ = true;
        qApp->installEventFilter(this);
    }
}

bool LinuxTray::eventFilter(QObject* watched, QEvent* event) {
    // The icon holds the implicit grab from its press: the release is the one that ends it.
    if (awaitingRelease_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) {
        awaitingRelease_ = false;
        qApp->removeEventFilter(this);
        Q_EMIT buttonReleased();
    }
    return TrayService::eventFilter(watched, event);
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
    if (awaitingRelease_) {
        awaitingRelease_ = false;
        qApp->removeEventFilter(this);
    }
    if (icon_) {
        icon_->hide();
        icon_.reset();
        picture_ = kTrayIdle + 100;
        tip_.clear();
    }
}
