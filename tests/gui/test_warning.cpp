// The desktop notification a minute before an alert powers off, restarts or locks, and its
// "Cancelar aviso" and "Posponer 15 minutos", which ask a protected alert's password first.

#include "app/form1.h"
#include "lock/form4.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QTest>

class WarningTest : public QObject {
    Q_OBJECT

    // Ticks until the shown time reads `until` (or the alert ends); false if it never does.
    static bool tickUntil(TestProgram& t, const QString& until) {
        Form1& f = t.programa.form1();
        for (int i = 0; i < 2000 && f.tmrCronómetro1->isActive(); ++i) {
            t.fakes.ticks.advance(1000);
            f.tmrCronómetro1_Timer();
            if (f.lblTiempo1->caption() == until) {
                return true;
            }
        }
        return false;
    }

    static void enter(TestProgram& t, const QString& password) {
        Form4& prompt = t.programa.form4();
        prompt.Pass->clear();
        QTest::keyClicks(prompt.Pass, password);
        prompt.aceptar->click();
    }

private Q_SLOTS:
    void warnsOnceAndItsActionsRespectThePassword_data() {
        QTest::addColumn<QString>("choice");  // "apaga", "reinicia" or ""
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("stored");  // "StopSys=1", "WarnBefore=0"...
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shownAt");  // the time shown when it comes; "" never
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("press");  // an action's label, or "Iniciar Aviso"

        const QString save = QStringLiteral("Guarde su trabajo antes de que termine el aviso.");
        QTest::newRow("apagar, a minute before")
            << "apaga" << 65 << ""
            << ""
            << ""
            << "00:01:00"
            << "El equipo se apagará en 1 minuto" << save << "";
        QTest::newRow("reiniciar, shorter than a minute: at once")
            << "reinicia" << 30 << ""
            << ""
            << ""
            << "start"
            << "El equipo se reiniciará en 30 segundos" << save << "";
        QTest::newRow("lock, with the alert's text") << "" << 90 << "clave"
                                                     << "StopSys=1"
                                                     << "Reunión"
                                                     << "00:01:00"
                                                     << "La pantalla se bloqueará en 1 minuto"
                                                     << "Reunión"
                                                     << "";
        QTest::newRow("a password without the lock") << "" << 90 << "clave"
                                                     << ""
                                                     << ""
                                                     << ""
                                                     << ""
                                                     << ""
                                                     << "";
        QTest::newRow("the alert window") << "" << 65 << ""
                                          << ""
                                          << ""
                                          << ""
                                          << ""
                                          << ""
                                          << "";
        QTest::newRow("WarnBefore=0") << "apaga" << 65 << ""
                                      << "WarnBefore=0"
                                      << ""
                                      << ""
                                      << ""
                                      << ""
                                      << "";
        QTest::newRow("cancel") << "apaga" << 65 << ""
                                << ""
                                << ""
                                << "00:01:00"
                                << "El equipo se apagará en 1 minuto" << save << "Cancelar aviso";
        QTest::newRow("cancel, protected")
            << "apaga" << 65 << "clave"
            << ""
            << ""
            << "00:01:00"
            << "El equipo se apagará en 1 minuto" << save << "Cancelar aviso";
        QTest::newRow("postpone") << "reinicia" << 65 << ""
                                  << ""
                                  << ""
                                  << "00:01:00"
                                  << "El equipo se reiniciará en 1 minuto" << save
                                  << "Posponer 15 minutos";
        QTest::newRow("postpone, protected lock")
            << "" << 65 << "clave"
            << "StopSys=1"
            << ""
            << "00:01:00"
            << "La pantalla se bloqueará en 1 minuto"
            << "Para desbloquearla hará falta la contraseña del aviso."
            << "Posponer 15 minutos";
        QTest::newRow("restarted") << "apaga" << 65 << ""
                                   << ""
                                   << ""
                                   << "00:01:00"
                                   << "El equipo se apagará en 1 minuto" << save << "Iniciar Aviso";
    }
    void warnsOnceAndItsActionsRespectThePassword() {
        QFETCH(QString, choice);
        QFETCH(int, seconds);
        QFETCH(QString, password);
        QFETCH(QString, stored);
        QFETCH(QString, text);
        QFETCH(QString, shownAt);
        QFETCH(QString, summary);
        QFETCH(QString, body);
        QFETCH(QString, press);

        TestProgram t;
        if (!stored.isEmpty()) {
            t.fakes.store.set(stored.section('=', 0, 0), stored.section('=', 1));
        }
        t.programa.start();
        Form1& f = t.programa.form1();
        if (!choice.isEmpty()) {
            f.habapaga->setValue(1);
            (choice == u"apaga" ? f.apaga : f.reinicia)->setValue(true);
        }
        f.Pass->setText(password);
        f.texto->setText(text);
        f.ss->setText(QString::number(seconds));
        f.cmdIniciar1->click();
        const FakeNotifier& n = t.fakes.notifier;
        QCOMPARE(n.sent.size(), shownAt == u"start" ? 1 : 0);
        if (shownAt.isEmpty()) {
            QVERIFY(tickUntil(t, "00:00:00"));
            QVERIFY(n.sent.isEmpty());
            return;
        }
        if (shownAt != u"start") {
            QVERIFY(tickUntil(t, "00:01:01"));
            QVERIFY(n.sent.isEmpty());
            QVERIFY(tickUntil(t, shownAt));
        }
        QCOMPARE(n.sent.size(), 1);
        QCOMPARE(n.sent[0].summary, summary);
        QCOMPARE(n.sent[0].body, body);
        QCOMPARE(n.sent[0].actions, (QStringList{"Cancelar aviso", "Posponer 15 minutos"}));
        QVERIFY(n.up);

        if (press.isEmpty()) {
            QVERIFY(tickUntil(t, "00:00:00"));
            QCOMPARE(n.sent.size(), 1);  // once per alert
            QVERIFY(!n.up);              // the alert's end takes it back
            return;
        }
        if (press == u"Iniciar Aviso") {
            f.cmdIniciar1->click();
            QVERIFY(!n.up);
            QVERIFY(tickUntil(t, "00:01:00"));
            QCOMPARE(n.sent.size(), 2);
            return;
        }
        t.fakes.notifier.press(press);
        if (!password.isEmpty()) {
            // The cancel prompt comes first; the alert runs on, unchanged, until the password.
            QVERIFY(t.programa.loaded<Form4>() && t.programa.form4().isVisible());
            QVERIFY(tickUntil(t, "00:00:58"));
            enter(t, "Clave");
            QCOMPARE(t.fakes.messages.lastText(), "La contraseña es Incorrecta.");
            QVERIFY(tickUntil(t, "00:00:57"));
            QVERIFY(n.up);
            enter(t, password);
            TestProgram::settle();
            QVERIFY(!t.programa.loaded<Form4>());
        }
        QVERIFY(!n.up);
        if (press == u"Cancelar aviso") {
            QVERIFY(!f.tmrCronómetro1->isActive());
            QCOMPARE(f.lblTiempo1->caption(), "00:00:00");
            QVERIFY(f.isVisible());
        } else {
            // Fifteen minutes more, everything else as it was; a new warning before the end.
            const QString before = f.lblTiempo1->caption();
            QVERIFY(tickUntil(t, password.isEmpty() ? "00:15:59" : "00:15:56"));
            QCOMPARE(before, password.isEmpty() ? "00:01:00" : "00:00:57");
            QVERIFY(!f.isVisible());
            QCOMPARE(n.sent.size(), 1);
            QVERIFY(tickUntil(t, "00:01:00"));
            QCOMPARE(n.sent.size(), 2);
            QCOMPARE(n.sent[1].summary, summary);
        }
    }
};

QTEST_MAIN(WarningTest)
#include "test_warning.moc"
