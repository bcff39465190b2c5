#include "platform/linux/notifier.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <cstdio>
#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage method(const QString& name) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, name);
}

// The "image-data" hint: (iiibiiay) width, height, row length, alpha, bits per sample,
// channels, RGBA pixels.
QVariant imageData(const QIcon& icon) {
    const QImage rgba = icon.pixmap(48, 48).toImage().convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument argument;
    argument.beginStructure();
    argument << rgba.width() << rgba.height() << static_cast<int>(rgba.bytesPerLine()) << true << 8
             << 4
             << QByteArray(reinterpret_cast<const char*>(rgba.constBits()),
                           static_cast<qsizetype>(rgba.sizeInBytes()));
    argument.endStructure();
    return QVariant::fromValue(argument);
}

}  // namespace

LinuxNotifier::LinuxNotifier(QIcon icon) : icon_(std::move(icon)) {}

void LinuxNotifier::show(const QString& summary, const QString& body,
                         const QList<Action>& actions) {
    withdraw();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    if (!listening_) {
        listening_ = bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                                 SLOT(serverActionInvoked(uint, QString)));
    }
    QStringList flat;
    for (const Action& action : actions) {
        flat << action.key << action.label;
    }
    // Actions only where the server draws them: a server without them would show nothing to
    // press, or the keys as text.
    const quint64 request = request_;
    auto* answer =
        new QDBusPendingCallWatcher(bus.asyncCall(method(QStringLiteral("GetCapabilities"))), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this, request, summary, body, flat](QDBusPendingCallWatcher* watcher) {
                watcher->deleteLater();
                const QDBusPendingReply<QStringList> capabilities = *watcher;
                if (capabilities.isError()) {
                    // No notification server (a bare window manager): the warning is not
                    // shown, and the alert goes on as ever.
                    if (!std::exchange(toldNoServer_, true)) {
                        std::fprintf(stderr, "tempix: sin servidor de notificaciones: %s\n",
                                     qUtf8Printable(capabilities.error().message()));
                        std::fflush(stderr);
                    }
                    return;
                }
                if (request != request_) {
                    return;
                }
                const bool actions = capabilities.value().contains(QStringLiteral("actions"));
                notify(request, summary, body, actions ? flat : QStringList());
            });
}

void LinuxNotifier::notify(quint64 request, const QString& summary, const QString& body,
                           const QStringList& actions) {
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(2)));  // critical
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("nodavia-tempix"));
    if (!icon_.isNull()) {
        hints.insert(QStringLiteral("image-data"), imageData(icon_));
    }
    QDBusMessage call = method(QStringLiteral("Notify"));
    // The icon by name for servers that look it up in the installed theme, its pixels in the
    // hint for a copy of the program that is not installed.
    call << QStringLiteral("Nodavia Tempix") << quint32(0) << QStringLiteral("nodavia-tempix")
         << summary << body << actions << hints << 0;  // 0: until it is taken back
    auto* answer = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this, request](QDBusPendingCallWatcher* watcher) {
                watcher->deleteLater();
                const QDBusPendingReply<quint32> id = *watcher;
                if (id.isError()) {
                    return;
                }
                if (request != request_) {
                    close(id.value());  // taken back while on its way
                    return;
                }
                shown_ = id.value();
            });
}

void LinuxNotifier::withdraw() {
    ++request_;
    if (shown_ != 0) {
        close(std::exchange(shown_, 0));
    }
}

void LinuxNotifier::close(quint32 id) {
    QDBusMessage call = method(QStringLiteral("CloseNotification"));
    call << id;
    QDBusConnection::sessionBus().send(call);
}

void LinuxNotifier::serverActionInvoked(uint id, const QString& key) {
    if (id != 0 && id == shown_) {
        Q_EMIT actionInvoked(key);
    }
}
