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

#include <cstdint>
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

// An X notification area: the owner of the tray selection of the default screen, or none.
xcb_window_t xembedTray() {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return XCB_NONE;
    }
    const xcb_atom_t selection = x11Atom(connection, "_NET_SYSTEM_TRAY_S0", true);
    if (selection == XCB_ATOM_NONE) {
        return XCB_NONE;
    }
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr);
    const xcb_window_t owner = reply != nullptr ? reply->owner : XCB_NONE;
    std::free(reply);
    return owner;
}

}  // namespace

LinuxTray::LinuxTray(TrayPictures pictures) : pictures_(std::move(pictures)) {
    // Without a notification area the program must notice one that appears later. The check
    // runs only while none is there, so a normal desktop pays nothing for it.
    watch_.setInterval(5000);
    connect(&watch_, &QTimer::timeout, this, &LinuxTray::watchAvailability);
    // A D-Bus notification area that starts after the program is noticed at once.
    dbusWatcher_.setConnection(QDBusConnection::sessionBus());
    // So is one that stops: its watcher leaves the bus, or (Plasma's) only its host goes.
    dbusWatcher_.setWatchMode(QDBusServiceWatcher::WatchForRegistration |
                              QDBusServiceWatcher::WatchForUnregistration);
    dbusWatcher_.addWatchedService(kWatcher);
    connect(&dbusWatcher_, &QDBusServiceWatcher::serviceRegistered, this,
            &LinuxTray::watchAvailability);
    connect(&dbusWatcher_, &QDBusServiceWatcher::serviceUnregistered, this,
            &LinuxTray::watchAvailability);
    for (const char* host : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        QDBusConnection::sessionBus().connect(QString(), QStringLiteral("/StatusNotifierWatcher"),
                                              kWatcher, QString::fromLatin1(host), this,
                                              SLOT(watchAvailability()));
    }
    qApp->installNativeEventFilter(this);
}

LinuxTray::~LinuxTray() = default;

bool LinuxTray::trayPresent() {
    // Qt chooses between the D-Bus and the X notification area at its first look and keeps that
    // choice: asked while neither is there, it would never use a D-Bus one that comes later.
    // So it is asked only once one of them is there.
    if (!qtAsked_) {
        const bool dbus = statusNotifierHost();
        if (!dbus && xembedTray() == XCB_NONE) {
            return false;
        }
        qtAsked_ = true;
        qtUsesDBus_ = dbus;
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return false;
    }
    // The area Qt chose may have gone since.
    if (qtUsesDBus_) {
        return statusNotifierHost();
    }
    const xcb_window_t owner = xembedTray();
    if (owner != xembedOwner_ && owner != XCB_NONE) {
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(x11Connection(), owner, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(x11Connection());
    }
    xembedOwner_ = owner;
    return owner != XCB_NONE;
}

bool LinuxTray::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || qtUsesDBus_) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    bool changed = false;
    switch (event->response_type & 0x7f) {
        case XCB_DESTROY_NOTIFY:
            changed =
                xembedOwner_ != XCB_NONE &&
                reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == xembedOwner_;
            break;
        case XCB_CLIENT_MESSAGE: {
            // A new owner of a manager selection announces itself to the root window.
            const auto* announce = reinterpret_cast<const xcb_client_message_event_t*>(event);
            static const xcb_atom_t manager = x11Atom(x11Connection(), "MANAGER", false);
            static const xcb_atom_t tray = x11Atom(x11Connection(), "_NET_SYSTEM_TRAY_S0", false);
            changed = announce->type == manager && announce->data.data32[1] == tray;
            break;
        }
        default:
            break;
    }
    if (changed) {
        // Qt's own tray handling sees the event after this filter: look once it has.
        QTimer::singleShot(0, this, &LinuxTray::watchAvailability);
    }
    return false;
}

bool LinuxTray::available() {
    const bool now = trayPresent();
    if (now != lastAvailable_) {
        // A change the program was not told of yet: told once what asked has returned.
        QTimer::singleShot(0, this, &LinuxTray::watchAvailability);
    }
    if (!now && !watch_.isActive()) {
        watch_.start();
    }
    return now;
}

void LinuxTray::watchAvailability() {
    const bool now = trayPresent();
    if (now) {
        watch_.stop();
        if (wanted_) {
            showIcon();
        }
    } else if (!watch_.isActive()) {
        watch_.start();
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
