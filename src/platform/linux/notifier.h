#pragma once

#include "platform/services.h"

#include <QIcon>

// Notifications through the freedesktop notification server (org.freedesktop.Notifications)
// on the session bus. Nothing is asked of the bus before the first notification.
class LinuxNotifier : public NotificationService {
    Q_OBJECT
public:
    // icon: the program's picture, sent with each notification.
    explicit LinuxNotifier(QIcon icon);

    void show(const QString& summary, const QString& body, const QList<Action>& actions) override;
    void withdraw() override;

private Q_SLOTS:
    // The server's signal; a slot because Qt D-Bus connects signals by signature only.
    void serverActionInvoked(uint id, const QString& key);

private:
    void notify(quint64 request, const QString& summary, const QString& body,
                const QStringList& actions);
    void close(quint32 id);

    QIcon icon_;
    // The notification up (or asked for by the last request); 0 when none.
    quint32 shown_ = 0;
    // Counts show and withdraw requests: an answer to an older request is out of date.
    quint64 request_ = 0;
    bool listening_ = false;
    bool toldNoServer_ = false;
};
