#pragma once

#include "platform/services.h"

#include <QIcon>
#include <QTimer>

#include <array>
#include <memory>

class QSystemTrayIcon;

// The notification-area icon through QSystemTrayIcon.
class LinuxTray : public TrayService {
    Q_OBJECT
public:
    LinuxTray();
    ~LinuxTray() override;
    void add(int picture, const QString& tip) override;
    void modify(int picture, const QString& tip) override;
    void remove() override;
    bool available() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ensureIcon();
    void apply(int picture, const QString& tip);
    void watchAvailability();
    void activated(int reason);

    std::unique_ptr<QSystemTrayIcon> icon_;
    int picture_ = kTrayIdle + 100;
    QString tip_;
    QTimer watch_;
    bool lastAvailable_ = false;
    // A button was pressed over the icon; the menu waits for its release.
    bool awaitingRelease_ = false;
};
