// The notification a minute before a power-off, restart or lock, and its two actions, which ask
// a protected alert's password first.

#include "app/form1.h"
#include "lock/form4.h"
#include "testprogram.h"

#include <QTest>

namespace {

const char* const kOff = "El equipo se apagará en 1 minuto";
const char* const kLock = "La pantalla se bloqueará en 1 minuto";
const struct Case {
    const char* name;
    const char* choice;  // "apaga", "reinicia" or neither
    const char* password;
    const char* stored;
    int seconds;
    const char* summary;  // the notification's; "" none
    const char* press;    // an action's label, or "Iniciar Aviso"
} kCases[] = {
    {"apagar", "apaga", "", "", 65, kOff, ""},
    {"reiniciar, under a minute: at once", "reinicia", "", "", 30,
     "El equipo se reiniciará en 30 segundos", ""},
    {"lock", "", "clave", "StopSys=1", 90, kLock, ""},
    {"password, no lock", "", "clave", "", 90, "", ""},
    {"WarnBefore=0", "apaga", "", "WarnBefore=0", 65, "", ""},
    {"cancel", "apaga", "", "", 65, kOff, "Cancelar aviso"},
    {"cancel, protected", "apaga", "clave", "", 65, kOff, "Cancelar aviso"},
    {"postpone", "apaga", "", "", 65, kOff, "Posponer 15 minutos"},
    {"postpone, protected", "", "clave", "StopSys=1", 65, kLock, "Posponer 15 minutos"},
    {"restarted", "apaga", "", "", 65, kOff, "Iniciar Aviso"},
};

}  // namespace

class WarningTest : public QObject {
    Q_OBJECT

    // Ticks until the time shown reads `until`; false when the alert ends first.
    static bool tickUntil(TestProgram& t, const QString& until) {
        Form1& f = t.programa.form1();
        while (f.tmrCronómetro1->isActive()) {
            t.fakes.ticks.advance(1000);
            f.tmrCronómetro1_Timer();
            if (f.lblTiempo1->caption() == until) {
                return true;
            }
        }
        return false;
    }

private Q_SLOTS:
    void warnsOnceAndActsOnlyWithThePassword_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kCases)); ++i) {
            QTest::newRow(kCases[i].name) << i;
        }
    }
    void warnsOnceAndActsOnlyWithThePassword() {
        QFETCH(int, row);
        const Case& c = kCases[row];
        const QString choice = c.choice, password = c.password, stored = c.stored;
        const QString summary = c.summary, press = c.press;
        const int seconds = c.seconds;
        TestProgram t;
        if (!stored.isEmpty()) {
            t.fakes.store.set(stored.section('=', 0, 0), stored.section('=', 1));
        }
        t.programa.start();
        Form1& f = t.programa.form1();
        f.habapaga->setValue(1);
        if (!choice.isEmpty()) {
            f.findChild<OptionButton*>(choice)->setValue(true);
        }
        f.Pass->setText(password);
        f.texto->setText(QStringLiteral("Reunión"));
        f.ss->setText(QString::number(seconds));
        f.cmdIniciar1->click();
        const FakeNotifier& n = t.fakes.notifier;
        if (seconds > 60) {
            QVERIFY(tickUntil(t, "00:01:01"));
            QVERIFY(n.sent.isEmpty());
            QVERIFY(tickUntil(t, "00:01:00"));
        }
        QCOMPARE(n.sent.size(), summary.isEmpty() ? 0 : 1);
        if (summary.isEmpty()) {
            QVERIFY(tickUntil(t, "00:00:00") && n.sent.isEmpty());
            return;
        }
        QCOMPARE(n.sent[0].summary, summary);
        QCOMPARE(n.sent[0].body, "Reunión");
        QCOMPARE(n.sent[0].actions, (QStringList{"Cancelar aviso", "Posponer 15 minutos"}));
        if (press.isEmpty() || press == u"Iniciar Aviso") {
            // Once per alert, taken back at its end; a restart takes it back and warns again.
            if (!press.isEmpty()) {
                f.cmdIniciar1->click();
                QVERIFY(!n.up);
            }
            QVERIFY(tickUntil(t, press.isEmpty() ? "00:00:00" : "00:01:00"));
            QCOMPARE(n.up, !press.isEmpty());
            QCOMPARE(n.sent.size(), press.isEmpty() ? 1 : 2);
            return;
        }
        t.fakes.notifier.press(press);
        if (!password.isEmpty()) {
            // The cancel prompt; the alert runs on, unchanged, until the right password.
            QVERIFY(t.programa.loaded<Form4>() && t.programa.form4().isVisible());
            QVERIFY(tickUntil(t, "00:00:58") && n.up);
            QTest::keyClicks(t.programa.form4().Pass, password);
            t.programa.form4().aceptar->click();
        }
        QVERIFY(!n.up);
        QCOMPARE(f.tmrCronómetro1->isActive(), press != u"Cancelar aviso");
        if (press == u"Posponer 15 minutos") {
            // 15:00 more at the next tick, and a new warning a minute before the new end.
            QVERIFY(tickUntil(t, password.isEmpty() ? "00:15:59" : "00:15:57"));
            QVERIFY(!f.isVisible() && tickUntil(t, "00:01:00"));
            QCOMPARE(n.sent.size(), 2);
        }
    }
};

QTEST_MAIN(WarningTest)
#include "test_warning.moc"
