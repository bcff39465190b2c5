// The warning a minute before an alert powers the computer off, restarts it or locks the
// screen, and what its two actions do.

#include "app/form1.h"
#include "lock/form4.h"
#include "platform/screen.h"
#include "programa.h"
#include "settings/form7.h"

namespace {

constexpr std::int32_t kWarningSeconds = 60;
constexpr std::int32_t kPostponeSeconds = 15 * 60;
const QString kCancelKey = QStringLiteral("cancelar");
const QString kPostponeKey = QStringLiteral("posponer");

// "1 minuto" at the usual moment, the seconds left for a shorter alert.
QString inTime(std::int32_t seconds) {
    if (seconds >= kWarningSeconds) {
        return QStringLiteral("1 minuto");
    }
    return seconds == 1 ? QStringLiteral("1 segundo") : QStringLiteral("%1 segundos").arg(seconds);
}

}  // namespace

void Form1::warnIfDue(std::int32_t remaining) {
    // Cheap on every tick: the rest runs only in the last minute, and sends once.
    if (!warningDue_ || remaining > kWarningSeconds || remaining <= 0) {
        return;
    }
    // What the completion will do, as it decides it.
    QString summary;
    QString body = QStringLiteral("Guarde su trabajo antes de que termine el aviso.");
    if (apaga->value()) {
        summary = QStringLiteral("El equipo se apagará en ");
    } else if (reinicia->value()) {
        summary = QStringLiteral("El equipo se reiniciará en ");
    } else if (!Pass->text().isEmpty() && programa.form7().StopSys->value() == 1) {
        summary = QStringLiteral("La pantalla se bloqueará en ");
        body = QStringLiteral("Para desbloquearla hará falta la contraseña del aviso.");
    } else {
        return;
    }
    if (programa.form7().WarnBefore->value() != 1) {
        return;
    }
    warningDue_ = false;
    if (!texto->text().isEmpty()) {
        body = texto->text();
    }
    programa.platform.notifier.show(summary + inTime(remaining), body,
                                    {{kCancelKey, QStringLiteral("Cancelar aviso")},
                                     {kPostponeKey, QStringLiteral("Posponer 15 minutos")}});
}

void Form1::withdrawWarning() {
    warningDue_ = false;
    programa.platform.notifier.withdraw();
}

void Form1::warningAction(const QString& key) {
    if (key == kCancelKey) {
        cancela_Click();
    } else if (key == kPostponeKey) {
        posponer_Click();
    }
}

void Form1::posponer_Click() {
    if (!tmrCronómetro1->isActive()) {
        return;
    }
    if (!Pass->text().isEmpty()) {
        // Putting off a power-off or a lock is as strong as cancelling it.
        Form4& prompt = programa.form4();
        prompt.accion = Form4::Accion::Posponer;
        bringUp(prompt);
        return;
    }
    postponeAlert();
}

void Form1::postponeAlert() {
    if (!tmrCronómetro1->isActive() || !clock_) {
        return;
    }
    try {
        clock_->AgregarTiempo(kPostponeSeconds);
    } catch (const ClockOverflow&) {
        return;  // an end that far off cannot move
    }
    programa.platform.notifier.withdraw();
    warningDue_ = true;
}
