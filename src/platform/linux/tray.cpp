#include "platform/linux/tray.h"

#include "platform/linux/x11.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>

#include <cstdlib>
#include <optional>

// Exported by QtDBus: every incoming call is handed to the hooks before it is delivered.
void qDBusAddSpyHook(void (*hook)(const QDBusMessage&));

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

// Qt's StatusNotifierItem drops the point that the host sends with ContextMenu and Activate;
// the hook keeps it for the menu.
std::optional<QPoint> hostPoint;

void noteHostPoint(const QDBusMessage& call) {
    const QList<QVariant> args = call.arguments();
    if (call.interface() == QLatin1String("org.kde.StatusNotifierItem") &&
        (call.member() == QLatin1String("ContextMenu") ||
         call.member() == QLatin1String("Activate")) &&
        args.size() == 2) {
        hostPoint = QPoint(args[0].toInt(), args[1].toInt());
    }
}

// A D-Bus notification area: a StatusNotifierWatcher with a host that draws the icons.
bool statusNotifierHost() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

// An X notification area: the owner of the tray selection of the default screen.
bool xembedTray() {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return false;
    }
    const xcb_atom_t selection = x11Atom(connection, "_NET_SYSTEM_TRAY_S0", true);
    if (selection == XCB_ATOM_NONE) {
        return false;
    }
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool owned = owner != nullptr && owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
}

}  // namespace

LinuxTray::LinuxTray(TrayPictures pictures) : pictures_(std::move(pictures)) {
    // Without a notification area the program must notice one that appears later. The check
    // runs only while none is there, so a normal desktop pays nothing for it.
    watch_.setInterval(5000);
    connect(&watch_, &QTimer::timeout, this, &LinuxTray::watchAvailability);
    // A D-Bus notification area that starts after the program is noticed at once.
    dbusWatcher_.setConnection(QDBusConnection::sessionBus());
    dbusWatcher_.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
    dbusWatcher_.addWatchedService(kWatcher);
    connect(&dbusWatcher_, &QDBusServiceWatcher::serviceRegistered, this,
            &LinuxTray::watchAvailability);
}

LinuxTray::~LinuxTray() = default;

bool LinuxTray::trayPresent() {
    // Qt chooses between the D-Bus and the X notification area at its first look and keeps that
    // choice: asked while neither is there, it would never use a D-Bus one that comes later.
    // So it is asked only once one of them is there.
    if (!qtAsked_) {
        const bool dbus = statusNotifierHost();
        if (!dbus && !xembedTray()) {
            return false;
        }
        qtAsked_ = true;
        qtUsesDBus_ = dbus;
    }
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool LinuxTray::available() {
    lastAvailable_ = trayPresent();
    if (!lastAvailable_ && !watch_.isActive()) {
        watch_.start();
    }
    return lastAvailable_;
}

void LinuxTray::watchAvailability() {
    const bool now = trayPresent();
    if (now) {
        watch_.stop();
        if (wanted_) {
            showIcon();
        }
    }
    if (now != lastAvailable_) {
        lastAvailable_ = now;
        Q_EMIT availabilityChanged(now);
    }
}

void LinuxTray::setMenu(QMenu* menu) {
    menu_ = menu;
    if (icon_ && qtUsesDBus_) {
        icon_->setContextMenu(menu);
    }
}

void LinuxTray::showIcon() {
    if (!icon_) {
        // Made while no notification area is there, the icon would make Qt choose its kind too
        // early: it waits for one.
        if (watch_.isActive()) {
            return;
        }
        if (!trayPresent()) {
            watch_.start();
            return;
        }
        icon_ = std::make_unique<QSystemTrayIcon>();
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
        if (qtUsesDBus_) {
            static const bool hooked = (qDBusAddSpyHook(noteHostPoint), true);
            Q_UNUSED(hooked);
            // A host that draws the menu itself reads it over D-Bus. An X tray gets none: Qt
            // would open it at the press, where the release would pick one of its items.
            icon_->setContextMenu(menu_);
        }
        icon_->setIcon(picture_ == kTrayIdle ? pictures_.idle : pictures_.frames.at(picture_));
        icon_->setToolTip(tip_);
    }
    if (!icon_->isVisible()) {
        icon_->show();
    }
}

void LinuxTray::activated(int reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context) {
        return;
    }
    // An XEmbed tray reports the press; a D-Bus tray reports a click that is already over, with
    // the point where the host wants the menu.
    // The menu opens at the release, so the release cannot pick one of its items.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        Q_EMIT menuRequested(qtUsesDBus_ && hostPoint ? *hostPoint : QCursor::pos());
        hostPoint.reset();
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
        Q_EMIT menuRequested(QCursor::pos());
    }
    return TrayService::eventFilter(watched, event);
}

void LinuxTray::apply(int picture, const QString& tip) {
    if (picture != picture_) {
        picture_ = picture;
        if (icon_) {
            icon_->setIcon(picture == kTrayIdle ? pictures_.idle : pictures_.frames.at(picture));
        }
    }
    if (tip != tip_) {
        tip_ = tip;
        if (icon_) {
            icon_->setToolTip(tip);
        }
    }
}

void LinuxTray::add(int picture, const QString& tip) {
    wanted_ = true;
    apply(picture, tip);
    showIcon();
}

void LinuxTray::modify(int picture, const QString& tip) {
    if (wanted_) {
        apply(picture, tip);
    }
}

void LinuxTray::remove() {
    wanted_ = false;
    if (awaitingRelease_) {
        awaitingRelease_ = false;
        qApp->removeEventFilter(this);
    }
    if (icon_) {
        icon_->hide();
        icon_.reset();
    }
}
