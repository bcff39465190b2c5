// The main window's alert: start, tick, completion, stop and the field handlers.

#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "common/messages.h"
#include "common/numeric.h"
#include "lock/form10.h"
#include "lock/form4.h"
#include "platform/screen.h"
#include "programa.h"
#include "schedule/form11.h"
#include "settings/form7.h"

namespace {

const QString kIdleTip = QStringLiteral("Nodavia Tempix - Programador de Avisos");
// The notification area keeps at most this many characters of a tip.
constexpr int kTipLength = 63;

bool checked(CheckBox* box) {
    return box->value() == 1;
}

// The total of the three time boxes, as IniciaTimer adds them up.
double totalSeconds(const TextBox* hh, const TextBox* mm, const TextBox* ss) {
    double total = 0;
    if (!hh->text().isEmpty()) {
        total += numericValue(hh->text()) * 3600;
    }
    if (!mm->text().isEmpty()) {
        total += numericValue(mm->text()) * 60;
    }
    if (!ss->text().isEmpty()) {
        total += numericValue(ss->text());
    }
    return total;
}

}  // namespace

void Form1::cmdIniciar1_Click() {
    auto refuse = [this](const QString& text) {
        programa.platform.messages.show(this, text, MessageIcon::Critical, kTitle);
        ss->setFocus();
    };
    if (hh->text().isEmpty() && mm->text().isEmpty() && ss->text().isEmpty()) {
        refuse(QStringLiteral("No se puede programar un aviso en blanco."));
        return;
    }
    if (hh->text().isEmpty() && mm->text().isEmpty() && numericValue(ss->text()) < 5) {
        refuse(QStringLiteral("No se puede programar un aviso en blanco o menor a 5 segundos."));
        return;
    }
    if (!IniciaTimer()) {
        return;
    }
    if (checked(programa.form7().ShowCron)) {
        programa.form2().show();
    }
}

bool Form1::IniciaTimer() {
    // A total the clock cannot hold is refused before anything changes.
    const QString totalText = numberText(totalSeconds(hh, mm, ss));
    const auto seconds = roundToInt32(numericValue(totalText));
    auto fits = [this](std::int32_t n) {
        try {
            clsCronómetro(programa.platform.ticks).EstablecerTiempo(n);
            return true;
        } catch (const ClockOverflow&) {
            return false;
        }
    };
    if (!seconds || !fits(*seconds)) {
        programa.platform.messages.show(
            this,
            QStringLiteral("El aviso es demasiado largo: el tiempo total no cabe en el "
                           "reloj. Escribe un tiempo menor."),
            MessageIcon::Critical, kTitle);
        return false;
    }

    salir->setEnabled(false);
    txtCantidadSegundos1->setText(totalText);
    if (checked(programa.form7().siempre)) {
        Guardando();
    }
    clock_ = std::make_unique<clsCronómetro>(programa.platform.ticks);
    try {
        clock_->EstablecerTiempo(*seconds);
    } catch (const ClockOverflow&) {
        // Only possible when the system second moved past the limit since the check above.
        clock_->EstablecerTiempo(0);
    }
    // The first tick still shows one second less.
    aimTick();
    // A restart takes back the warning of the countdown before; a short alert warns at once.
    withdrawWarning();
    warningDue_ = true;
    warnIfDue(*seconds);
    if (!Pass->text().isEmpty() || !checked(programa.form7().minimiza)) {
        setStateMinimised();
    } else {
        setStateNormal();
    }
    detener->setEnabled(true);
    return true;
}

void Form1::tmrCronómetro1_Timer() {
    if (!tmrCronómetro1->isActive() || !clock_) {
        return;
    }
    aimTick();
    std::int32_t remaining = 0;
    try {
        remaining = clock_->ObtenerTiempo();
    } catch (const ClockOverflow&) {
        remaining = 0;
    }
    if (remaining > 0) {
        lblTiempo1->setCaption(FormatearTiempo(remaining));
        warnIfDue(remaining);
    } else if (!complete()) {
        return;  // the shut-down request or the screen lock ended the tick
    }
    trayRefresh();
}

void Form1::aimTick() {
    // Each tick aims at the middle of the next system second: a tick that comes a little late
    // then never shows a second twice or skips one, and a late tick or a resume from suspend
    // does not leave the following ones near a second's edge.
    const auto phase = static_cast<int>(programa.platform.ticks.milliseconds() % 1000);
    tmrCronómetro1->start(1500 - phase);
}

bool Form1::complete() {
    lblTiempo1->setCaption(QStringLiteral("00:00:00"));
    tmrCronómetro1->stop();
    clock_.reset();
    withdrawWarning();
    contra->setValue(0);
    contra->setEnabled(true);
    habiltext->setValue(0);
    habiltext->setEnabled(true);
    setStateNormal();
    programa.unload<Form2>();

    if (apaga->value() || reinicia->value()) {
        // A refusal is reported when it comes (powerRequestFailed).
        if (apaga->value()) {
            programa.platform.power.powerOff();
        } else {
            programa.platform.power.reboot();
        }
        return false;
    }
    if (!Pass->text().isEmpty() && checked(programa.form7().StopSys)) {
        if (!texto->text().isEmpty()) {
            programa.form10().Mensaje->setText(texto->text());
        }
        programa.form10().show();
        return false;
    }
    if (!texto->text().isEmpty()) {
        programa.form3().Mensaje->setText(texto->text());
    }
    programa.form3().show();
    return true;
}

void Form1::powerRequestFailed(PowerRequest request, const QString& reason) {
    programa.platform.messages.show(this,
                                    (request == PowerRequest::PowerOff
                                         ? QStringLiteral("No se pudo apagar el equipo.\n\n")
                                         : QStringLiteral("No se pudo reiniciar el equipo.\n\n")) +
                                        reason,
                                    MessageIcon::Critical, kTitle);
}

QString Form1::FormatearTiempo(std::int32_t n) {
    const std::int32_t hours = n / 3600;
    const std::int32_t rest = n - 3600 * hours;
    const std::int32_t minutes = rest / 60;
    const std::int32_t seconds = rest - 60 * minutes;
    auto two = [](std::int32_t v) { return QStringLiteral("%1").arg(v, 2, 10, QChar(u'0')); };
    return two(hours) + u':' + two(minutes) + u':' + two(seconds);
}

void Form1::DetieneTimer() {
    if (!Pass->text().isEmpty()) {
        // Whatever the prompt was asked before, this request is to cancel.
        Form4& prompt = programa.form4();
        prompt.accion = Form4::Accion::Cancelar;
        bringUp(prompt);
    } else {
        tmrCronómetro1->stop();
        withdrawWarning();
        salir->setEnabled(true);
        lblTiempo1->setCaption(QStringLiteral("00:00:00"));
        txtCantidadSegundos1->clear();
        Pass->clear();
        texto->clear();
        contra->setValue(0);
        contra->setEnabled(true);
        habiltext->setValue(0);
        habiltext->setEnabled(true);
        texto->setEnabled(false);
        texto->setBackColour(BackColour::Grey);
        hh->clear();
        mm->clear();
        ss->clear();
        cmdIniciar1->setEnabled(true);
        hh->setEnabled(true);
        mm->setEnabled(true);
        ss->setEnabled(true);
        setStateNormal();
        programa.unload<Form2>();
        show();
    }
    detener->setEnabled(false);
    trayReset();
}

void Form1::trayAdd() {
    trayPicture_ = kTrayIdle;
    trayTip_ = kIdleTip;
    programa.platform.tray.add(trayPicture_, trayTip_);
}

void Form1::trayRefresh() {
    CuadroIcono = static_cast<std::int16_t>(CuadroIcono + 1);
    if (CuadroIcono == 4) {
        CuadroIcono = 0;
    }
    trayPicture_ = CuadroIcono;
    trayTip_ = lblTiempo1->caption().left(kTipLength);
    programa.platform.tray.add(trayPicture_, trayTip_);
    programa.platform.tray.modify(trayPicture_, trayTip_);
}

void Form1::trayReset() {
    trayPicture_ = kTrayIdle;
    trayTip_ = kIdleTip;
    programa.platform.tray.add(trayPicture_, trayTip_);
    programa.platform.tray.modify(trayPicture_, trayTip_);
}

void Form1::trayDelete() {
    programa.platform.tray.remove();
}

void Form1::hh_Change() {
    guardar->setEnabled(true);
    cmdIniciar1->setEnabled(true);
}

void Form1::mm_Change() {
    hh_Change();
}

void Form1::ss_Change() {
    hh_Change();
}

void Form1::Pass_Change() {
    guardar->setEnabled(true);
}

void Form1::texto_Change() {
    guardar->setEnabled(true);
}

void Form1::lblTiempo1_Change() {
    programa.form2().lblTiempo1->setCaption(lblTiempo1->caption());
}

namespace {

void enableBox(TextBox* box, bool on) {
    box->setEnabled(on);
    box->setBackColour(on ? BackColour::Window : BackColour::Grey);
}

}  // namespace

void Form1::contra_Click() {
    enableBox(Pass, contra->value() == 1);
}

void Form1::habiltext_Click() {
    enableBox(texto, habiltext->value() == 1);
}

void Form1::habapaga_Click() {
    apaga->setValue(false);
    reinicia->setValue(false);
    const bool on = habapaga->value() == 1;
    if (on) {
        habiltext->setEnabled(false);
        habiltext->setValue(0);
        texto->clear();
    } else {
        habiltext->setEnabled(true);
    }
    apaga->setEnabled(on);
    reinicia->setEnabled(on);
}

void Form1::detener_Click() {
    if (tmrCronómetro1->isActive()) {
        DetieneTimer();
    }
}

void Form1::Command1_Click() {
    Form11& window = programa.form11();
    bringUp(window);
}
