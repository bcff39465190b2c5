#include "platform/linux/tray.h"

#include "platform/linux/statusnotifier.h"
#include "platform/linux/x11.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>

#include <cstdint>
#include <cstdlib>

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

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

LinuxTray::LinuxTray(std::function<TrayPictures()> pictures) : makePictures_(std::move(pictures)) {
    // Without a notification area the program must notice one that appears later. The check
    // runs only while none is there, so a normal desktop pays nothing for it.
    watch_.setInterval(5000);
    connect(&watch_, &QTimer::timeout, this, &LinuxTray::watchAvailability);
    // The first icon waits until the main window is on screen: made at start-up, it held the
    // window back by milliseconds.
    firstIcon_.setSingleShot(true);
    firstIcon_.setInterval(300);
    connect(&firstIcon_, &QTimer::timeout, this, &LinuxTray::firstIconDue);
}

LinuxTray::~LinuxTray() = default;

void LinuxTray::startWatching() {
    // Begun at the first question, not at start-up: the session bus is not needed before.
    if (watching_) {
        return;
    }
    watching_ = true;
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

const TrayPictures& LinuxTray::pictures() {
    if (!pictures_) {
        pictures_ = makePictures_();
    }
    return *pictures_;
}

bool LinuxTray::trayPresent() {
    startWatching();
    // A D-Bus notification area is preferred: the icon is an item of our own there.
    dbusHost_ = statusNotifierHost();
    if (dbusHost_) {
        return true;
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
    if (eventType != "xcb_generic_event_t" || dbusHost_) {
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
        // The other kind of notification area took over: the icon moves there.
        if ((dbusHost_ && xIcon_) || (!dbusHost_ && dbusIcon_)) {
            xIcon_.reset();
            dbusIcon_.reset();
        }
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
    if (dbusIcon_) {
        dbusIcon_->setMenu(menu);
    }
}

void LinuxTray::firstIconDue() {
    // An icon arriving in an X notification area closes a menu the user has just opened: it
    // waits until the menu is gone.
    if (QApplication::activePopupWidget() != nullptr) {
        firstIcon_.start();
        return;
    }
    firstIconMade_ = true;
    if (wanted_) {
        showIcon();
    }
}

void LinuxTray::showIcon() {
    if (!dbusIcon_ && !xIcon_) {
        if (!firstIconMade_) {
            if (!firstIcon_.isActive()) {
                firstIcon_.start();
            }
            return;
        }
        if (watch_.isActive()) {
            return;
        }
        if (!trayPresent()) {
            watch_.start();
            return;
        }
        if (dbusHost_) {
            // A host that draws the menu itself reads it over D-Bus.
            dbusIcon_ = std::make_unique<StatusNotifierItem>(pictures().idle, pictures().frames);
            connect(dbusIcon_.get(), &StatusNotifierItem::menuRequested, this,
                    &TrayService::menuRequested);
            dbusIcon_->setMenu(menu_);
        } else {
            // Qt chooses its kind of tray at its first icon: made while no D-Bus notification
            // area is there, it is an X tray icon for good. It gets no menu: Qt would open it at
            // the press, where the release would pick one of its items.
            xIcon_ = std::make_unique<QSystemTrayIcon>();
            connect(xIcon_.get(), &QSystemTrayIcon::activated, this,
                    [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
            xIcon_->setIcon(picture_ == kTrayIdle ? pictures().idle
                                                  : pictures().frames.at(picture_));
            xIcon_->setToolTip(tip_);
        }
    }
    if (dbusIcon_) {
        dbusIcon_->show(picture_, tip_);
    } else if (!xIcon_->isVisible()) {
        xIcon_->show();
    }
}

void LinuxTray::activated(int reason) {
    if (reason != QSystemTrayIcon::Trigger && reason != QSystemTrayIcon::Context) {
        return;
    }
    // An X tray reports the press. The menu opens at the release, so the release cannot pick
    // one of its items.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        Q_EMIT menuRequested(QCursor::pos());
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
    if (dbusIcon_) {
        dbusIcon_->set(picture, tip);
    }
    if (xIcon_ && picture != picture_) {
        xIcon_->setIcon(picture == kTrayIdle ? pictures().idle : pictures().frames.at(picture));
    }
    if (xIcon_ && tip != tip_) {
        xIcon_->setToolTip(tip);
    }
    picture_ = picture;
    tip_ = tip;
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
    if (xIcon_) {
        xIcon_->hide();
        xIcon_.reset();
    }
    dbusIcon_.reset();
}
