#pragma once

#include "platform/services.h"

#include <QAbstractNativeEventFilter>
#include <QDBusServiceWatcher>
#include <QIcon>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include <xcb/xcb.h>

class QSystemTrayIcon;
class StatusNotifierItem;

// The icon's pictures: idle, and the animation frames 0 to 3.
struct TrayPictures {
    QIcon idle;
    std::array<QIcon, 4> frames;
};

// The notification-area icon: in a D-Bus notification area (StatusNotifierItem), such as the
// panels of most desktops have, an item of our own; in an X one (XEmbed), QSystemTrayIcon.
class LinuxTray : public TrayService, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // pictures: made when the icon is first shown, so a start does not wait for them.
    explicit LinuxTray(std::function<TrayPictures()> pictures);
    ~LinuxTray() override;
    void add(int picture, const QString& tip) override;
    void modify(int picture, const QString& tip) override;
    void remove() override;
    bool available() override;
    void setMenu(QMenu* menu) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // An X notification area that comes (the MANAGER message) or goes (its owner window is
    // destroyed).
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private Q_SLOTS:
    // Looks again whether a notification area is there, and says so when that changed.
    void watchAvailability();

private:
    void startWatching();
    bool trayPresent();
    const TrayPictures& pictures();
    void showIcon();
    void firstIconDue();
    void apply(int picture, const QString& tip);
    void activated(int reason);

    std::function<TrayPictures()> makePictures_;
    std::optional<TrayPictures> pictures_;
    std::unique_ptr<StatusNotifierItem> dbusIcon_;
    std::unique_ptr<QSystemTrayIcon> xIcon_;
    QPointer<QMenu> menu_;
    // The program asked for the icon (add) and has not removed it.
    bool wanted_ = false;
    int picture_ = kTrayIdle;
    QString tip_;
    // The notification area found last is a D-Bus one.
    bool dbusHost_ = false;
    QTimer watch_;
    bool watching_ = false;
    QDBusServiceWatcher dbusWatcher_;
    // The first icon waits until the program's first window is on screen.
    QTimer firstIcon_;
    bool firstIconMade_ = false;
    bool lastAvailable_ = false;
    // The window that owns the X tray selection, watched for its end.
    xcb_window_t xembedOwner_ = XCB_NONE;
    // A button was pressed over the icon; the menu waits for its release.
    bool awaitingRelease_ = false;
};
