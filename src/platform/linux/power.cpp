#include "platform/linux/power.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QProcess>

QString LinuxPower::powerOff() {
    return request(QStringLiteral("PowerOff"), QStringLiteral("poweroff"));
}

QString LinuxPower::reboot() {
    return request(QStringLiteral("Reboot"), QStringLiteral("reboot"));
}

QString LinuxPower::request(const QString& logindMethod, const QString& systemctlVerb) {
    // The bus is reached only here, when a request is made, never at start-up.
    QString busError;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected()) {
        QDBusInterface manager(QStringLiteral("org.freedesktop.login1"),
                               QStringLiteral("/org/freedesktop/login1"),
                               QStringLiteral("org.freedesktop.login1.Manager"), bus);
        const QDBusMessage reply = manager.call(logindMethod, true);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            return {};
        }
        busError = reply.errorMessage();
    } else {
        busError = QStringLiteral("no hay conexión con el bus del sistema");
    }

    // An argument list, never a shell: nothing typed by the user reaches the command.
    QProcess systemctl;
    systemctl.start(QStringLiteral("systemctl"), {systemctlVerb});
    if (!systemctl.waitForStarted(5000)) {
        return QStringLiteral(
                   "El sistema no aceptó la orden (%1) y no se pudo ejecutar "
                   "systemctl %2.")
            .arg(busError, systemctlVerb);
    }
    if (!systemctl.waitForFinished(30000)) {
        return {};  // still running: the system is going down
    }
    if (systemctl.exitStatus() != QProcess::NormalExit || systemctl.exitCode() != 0) {
        const QString detail = QString::fromLocal8Bit(systemctl.readAllStandardError()).trimmed();
        return QStringLiteral("El sistema no aceptó la orden (%1; systemctl %2: %3).")
            .arg(busError, systemctlVerb, detail.isEmpty() ? QStringLiteral("error") : detail);
    }
    return {};
}
