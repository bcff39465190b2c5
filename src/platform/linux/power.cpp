#include "platform/linux/power.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>

namespace {

// logind may ask the user for a password before it answers.
constexpr int kAnswerTimeMs = 120'000;

}  // namespace

void LinuxPower::powerOff() {
    request(PowerRequest::PowerOff);
}

void LinuxPower::reboot() {
    request(PowerRequest::Reboot);
}

void LinuxPower::request(PowerRequest request) {
    if (undecided_) {
        return;  // the system is still deciding on the one before
    }
    undecided_ = true;
    // The bus is reached only here, when a request is made, never at start-up.
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        fallBack(request, QStringLiteral("no hay conexión con el bus del sistema"));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"),
        request == PowerRequest::PowerOff ? QStringLiteral("PowerOff") : QStringLiteral("Reboot"));
    call << true;  // interactive: the system may ask the user
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerTimeMs), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this, request](QDBusPendingCallWatcher* watcher) {
                watcher->deleteLater();
                if (watcher->isError()) {
                    fallBack(request, watcher->error().message());
                } else {
                    undecided_ = false;  // accepted: the system is going down
                }
            });
}

void LinuxPower::fallBack(PowerRequest request, const QString& busError) {
    const QString verb =
        request == PowerRequest::PowerOff ? QStringLiteral("poweroff") : QStringLiteral("reboot");
    auto* systemctl = new QProcess(this);
    const auto refused = [this, request, systemctl](const QString& reason) {
        systemctl->deleteLater();
        undecided_ = false;
        Q_EMIT failed(request, reason);
    };
    connect(systemctl, &QProcess::errorOccurred, this,
            [refused, busError, verb](QProcess::ProcessError error) {
                if (error == QProcess::FailedToStart) {
                    refused(QStringLiteral("El sistema no aceptó la orden (%1) y no se pudo "
                                           "ejecutar systemctl %2.")
                                .arg(busError, verb));
                }
            });
    connect(
        systemctl, &QProcess::finished, this,
        [this, refused, busError, verb, systemctl](int code, QProcess::ExitStatus status) {
            if (status == QProcess::NormalExit && code == 0) {
                systemctl->deleteLater();
                undecided_ = false;
                return;
            }
            const QString detail =
                QString::fromLocal8Bit(systemctl->readAllStandardError()).trimmed();
            refused(QStringLiteral("El sistema no aceptó la orden (%1; systemctl %2: %3).")
                        .arg(busError, verb, detail.isEmpty() ? QStringLiteral("error") : detail));
        });
    // An argument list, never a shell: nothing typed by the user reaches the command.
    systemctl->start(QStringLiteral("systemctl"), {verb});
}
