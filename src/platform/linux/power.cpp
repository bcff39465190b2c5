#include "platform/linux/power.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QTimer>

namespace {

// logind may ask the user for a password before it answers.
constexpr int kAnswerTimeMs = 120'000;

}  // namespace

LinuxPower::LinuxPower(std::chrono::seconds fallbackLimit) : fallbackLimit_(fallbackLimit) {}

LinuxPower::~LinuxPower() {
    // A systemctl still running is ended with its owner, unheard: its handlers would run while
    // it is destroyed, after this object's members.
    for (QProcess* systemctl : findChildren<QProcess*>()) {
        systemctl->disconnect();
    }
}

void LinuxPower::powerOff() {
    request(PowerRequest::PowerOff);
}

void LinuxPower::reboot() {
    request(PowerRequest::Reboot);
}

void LinuxPower::request(PowerRequest request) {
    // A request is always made: one the system has not decided on yet is replaced, and what
    // comes of it later is not heard.
    const quint64 number = ++latest_;
    endFallback();
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
            [this, request, number](QDBusPendingCallWatcher* watcher) {
                watcher->deleteLater();
                if (number == latest_ && watcher->isError()) {
                    fallBack(request, watcher->error().message());
                }  // else accepted (the system is going down), or replaced
            });
}

void LinuxPower::fallBack(PowerRequest request, const QString& busError) {
    const QString verb =
        request == PowerRequest::PowerOff ? QStringLiteral("poweroff") : QStringLiteral("reboot");
    auto* systemctl = new QProcess(this);
    fallback_ = systemctl;
    // The first answer decides; a refusal has a reason.
    const auto decided = [this, request, systemctl](const QString& refusal) {
        if (fallback_ != systemctl) {
            return;  // decided already, or replaced
        }
        endFallback();
        if (!refusal.isEmpty()) {
            Q_EMIT failed(request, refusal);
        }
    };
    connect(systemctl, &QProcess::errorOccurred, systemctl,
            [decided, busError, verb](QProcess::ProcessError error) {
                if (error == QProcess::FailedToStart) {
                    decided(QStringLiteral("El sistema no aceptó la orden (%1) y no se pudo "
                                           "ejecutar systemctl %2.")
                                .arg(busError, verb));
                }
            });
    connect(
        systemctl, &QProcess::finished, systemctl,
        [decided, busError, verb, systemctl](int code, QProcess::ExitStatus status) {
            if (status == QProcess::NormalExit && code == 0) {
                decided(QString());
                return;
            }
            const QString detail =
                QString::fromLocal8Bit(systemctl->readAllStandardError()).trimmed();
            decided(QStringLiteral("El sistema no aceptó la orden (%1; systemctl %2: %3).")
                        .arg(busError, verb, detail.isEmpty() ? QStringLiteral("error") : detail));
        });
    // A systemctl that never answers (a hung manager) must not leave the user believing the
    // computer is going down.
    const QString unanswered = QStringLiteral(
                                   "El sistema no aceptó la orden (%1) y systemctl %2 no respondió "
                                   "en %3 segundos: se ha detenido.")
                                   .arg(busError, verb)
                                   .arg(fallbackLimit_.count());
    QTimer::singleShot(fallbackLimit_, systemctl, [decided, unanswered] { decided(unanswered); });
    // An argument list, never a shell: nothing typed by the user reaches the command.
    systemctl->start(QStringLiteral("systemctl"), {verb});
}

void LinuxPower::endFallback() {
    QProcess* systemctl = fallback_;
    fallback_ = nullptr;
    if (!systemctl) {
        return;
    }
    if (systemctl->state() == QProcess::NotRunning) {
        systemctl->deleteLater();
        return;
    }
    connect(systemctl, &QProcess::stateChanged, systemctl, [systemctl](QProcess::ProcessState now) {
        if (now == QProcess::NotRunning) {
            systemctl->deleteLater();
        }
    });
    systemctl->kill();
}
