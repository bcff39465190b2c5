// The main window's alert: start, tick, completion, stop and the field handlers.

#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "common/twips.h"
#include "lock/form10.h"
#include "lock/form4.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QAction>
#include <QTest>

class CountdownTest : public QObject {
    Q_OBJECT

    // The timer's interval of real time, then its event.
    static void tick(TestProgram& t, int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            t.fakes.ticks.advance(t.programa.form1().tmrCronómetro1->interval());
            t.programa.form1().tmrCronómetro1_Timer();
        }
    }

    static void start(TestProgram& t, const QString& h, const QString& m, const QString& s) {
        Form1& f = t.programa.form1();
        f.hh->setText(h);
        f.mm->setText(m);
        f.ss->setText(s);
        f.cmdIniciar1->click();
    }

private Q_SLOTS:
    void formatsRemainingTime_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("hour minute second") << 3661 << "01:01:01";
        QTest::newRow("under a minute") << 59 << "00:00:59";
        QTest::newRow("hundred hours") << 360000 << "100:00:00";
        QTest::newRow("longest typed alert") << 36002439 << "10000:40:39";
        QTest::newRow("one") << 1 << "00:00:01";
    }
    void formatsRemainingTime() {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QCOMPARE(Form1::FormatearTiempo(seconds), text);
    }

    void refusesEmptyAndTooShortAlerts() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.show();
        f.cmdIniciar1->setFocus();
        f.cmdIniciar1->click();
        QCOMPARE(t.fakes.messages.lastText(), "No se puede programar un aviso en blanco.");
        QCOMPARE(t.fakes.messages.shown.last().icon, MessageIcon::Critical);
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");
        QCOMPARE(f.focusWidget(), f.ss);

        f.ss->setText(QStringLiteral("4"));
        f.cmdIniciar1->setFocus();
        f.cmdIniciar1->click();
        QCOMPARE(t.fakes.messages.lastText(),
                 "No se puede programar un aviso en blanco o menor a 5 segundos.");
        QCOMPARE(f.focusWidget(), f.ss);
        QVERIFY(!f.tmrCronómetro1->isActive());
        QCOMPARE(t.fakes.messages.shown.size(), 2);

        // Only ss is tested by value: "0" in hh passes and gives a 0-second alert.
        f.ss->setText(QStringLiteral("abc"));
        f.hh->setText(QStringLiteral("0"));
        f.cmdIniciar1->click();
        QCOMPARE(t.fakes.messages.shown.size(), 2);
        QVERIFY(f.tmrCronómetro1->isActive());
        QCOMPARE(f.txtCantidadSegundos1->text(), "0");
        tick(t);
        QVERIFY(!f.tmrCronómetro1->isActive());
        QVERIFY(t.programa.loaded<Form3>());
    }

    void fiveSecondsCountDownFromTheClock() {
        TestProgram t;
        Form1& f = t.programa.form1();
        start(t, "", "", "5");
        QVERIFY(f.tmrCronómetro1->isActive());
        // The first tick waits for the middle of the next system second, then every 1000 ms.
        QCOMPARE(f.tmrCronómetro1->interval(), 1500);
        QCOMPARE(f.tmrCronómetro1->timerType(), Qt::PreciseTimer);
        QCOMPARE(f.lblTiempo1->caption(), "00:00:00");  // unchanged until the first tick
        QVERIFY(!f.salir->isEnabled());
        QVERIFY(f.detener->isEnabled());
        tick(t);
        QCOMPARE(f.lblTiempo1->caption(), "00:00:04");
        QCOMPARE(f.tmrCronómetro1->interval(), 1000);
        t.fakes.ticks.advance(200);  // started late in a second: the first tick comes sooner
        f.cmdIniciar1->click();
        QCOMPARE(f.tmrCronómetro1->interval(), 800);
        tick(t);
        QCOMPARE(f.lblTiempo1->caption(), "00:00:04");
        // A late tick (or a resume) shows the right time, skipping numbers: time comes from the
        // clock. The next one is aimed back at the middle of a second and shows one less.
        t.fakes.ticks.advance(2400);
        f.tmrCronómetro1_Timer();
        QCOMPARE(f.lblTiempo1->caption(), "00:00:02");
        QCOMPARE(f.tmrCronómetro1->interval(), 600);
        tick(t);
        QCOMPARE(f.lblTiempo1->caption(), "00:00:01");
        tick(t);
        QVERIFY(!f.tmrCronómetro1->isActive());
        QCOMPARE(f.lblTiempo1->caption(), "00:00:00");
        QVERIFY(!f.salir->isEnabled());  // only a stop without password enables it again
    }

    void longestAlertShowsItsHours() {
        TestProgram t;
        start(t, "9999", "99", "99");
        QCOMPARE(t.programa.form1().txtCantidadSegundos1->text(), "36002439");
        tick(t);
        Form1& f = t.programa.form1();
        QCOMPARE(f.lblTiempo1->caption(), "10000:40:38");
        // Counted while hidden, the longer time gets smaller type when the window shows.
        f.show();
        QVERIFY(f.lblTiempo1->font().pointSizeF() < 38.25);  // the designed size
    }

    void fractionsAndTextCount() {
        TestProgram t;
        Form1& f = t.programa.form1();
        start(t, "1.5", "abc", "10");
        QCOMPARE(f.txtCantidadSegundos1->text(), "5410");
        start(t, "", "", "6.5");  // halves go to the even neighbour
        QCOMPARE(f.txtCantidadSegundos1->text(), "6.5");
        tick(t);
        QCOMPARE(f.lblTiempo1->caption(), "00:00:05");
    }

    void tooLongAlertIsRefusedAndNothingChanges() {
        TestProgram t;
        Form1& f = t.programa.form1();
        start(t, "9E9", "", "");
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QVERIFY(t.fakes.messages.lastText().contains(QStringLiteral("demasiado largo")));
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");
        QVERIFY(!f.tmrCronómetro1->isActive());
        QVERIFY(f.salir->isEnabled());
        QVERIFY(!f.detener->isEnabled());
        QCOMPARE(f.hh->text(), "9E9");
        QVERIFY(f.txtCantidadSegundos1->text().isEmpty());
        QVERIFY(t.fakes.store.log.isEmpty());  // not saved either

        // Just below the 32-bit limit the clock itself would overflow with the uptime added.
        start(t, "", "", "2147483000");
        QCOMPARE(t.fakes.messages.shown.size(), 2);
        QVERIFY(!f.tmrCronómetro1->isActive());
    }

    void restartingTakesTheChangedFields() {
        TestProgram t;
        Form1& f = t.programa.form1();
        start(t, "", "10", "");
        tick(t, 3);
        QCOMPARE(f.lblTiempo1->caption(), "00:09:57");
        f.mm->setText(QStringLiteral("20"));
        f.cmdIniciar1->click();
        tick(t);
        QCOMPARE(f.lblTiempo1->caption(), "00:19:59");
    }

    void alertEndingDuringSuspendCompletesAtTheFirstTickAfter() {
        TestProgram t;
        Form1& f = t.programa.form1();
        start(t, "", "1", "");
        tick(t);
        // Boot time counts through a suspend: two hours pass without a tick.
        t.fakes.ticks.advance(2LL * 3600 * 1000);
        f.tmrCronómetro1_Timer();
        QVERIFY(!f.tmrCronómetro1->isActive());
        QVERIFY(t.programa.loaded<Form3>());
    }

    void windowStateAtStart() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.show();
        start(t, "", "", "30");
        QVERIFY(f.isMinimized());
        QVERIFY(f.isHidden());  // minimised hides into the tray

        TestProgram u;
        Form1& g = u.programa.form1();
        g.show();
        u.programa.form7().minimiza->setValue(1);
        start(u, "", "", "30");
        QVERIFY(!g.isMinimized());
        QVERIFY(g.isVisible());
        // A password always hides the window, whatever minimiza says.
        g.Pass->setText(QStringLiteral("clave"));
        g.cmdIniciar1->click();
        QVERIFY(g.isMinimized());
        QVERIFY(g.isHidden());
    }

    void completionShowsTheAlertWindowWithItsText() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.contra->setValue(1);
        f.habiltext->setValue(1);
        start(t, "", "", "5");
        tick(t, 5);
        QVERIFY(t.programa.loaded<Form3>());
        QVERIFY(t.programa.form3().isVisible());
        QCOMPARE(t.programa.form3().Mensaje->text(), "El Tiempo ha Terminado.");
        QCOMPARE(f.contra->value(), 0);
        QVERIFY(f.contra->isEnabled());
        QVERIFY(!f.Pass->isEnabled());
        QCOMPARE(f.Pass->backColour(), BackColour::Grey);
        QVERIFY(t.fakes.power.requests.isEmpty());
        // The completing tick refreshed the tray with "00:00:00".
        QCOMPARE(t.fakes.tray.calls.last().op, "modify");
        QCOMPARE(t.fakes.tray.calls.last().tip, "00:00:00");

        TestProgram u;
        u.programa.form1().texto->setText(QStringLiteral("Sacar el pan del horno"));
        start(u, "", "", "5");
        tick(u, 5);
        QCOMPARE(u.programa.form3().Mensaje->text(), "Sacar el pan del horno");
    }

    void powerOffWinsOverEveryOtherEnding() {
        TestProgram t;
        Form1& f = t.programa.form1();
        t.programa.form7().StopSys->setValue(1);
        f.Pass->setText(QStringLiteral("clave"));
        f.habapaga->setValue(1);
        f.apaga->click();
        start(t, "", "", "5");
        tick(t, 4);
        const auto traysBefore = t.fakes.tray.calls.size();
        tick(t);
        QCOMPARE(t.fakes.power.requests, QStringList{QStringLiteral("PowerOff")});
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(!t.programa.loaded<Form10>());
        QCOMPARE(t.fakes.tray.calls.size(), traysBefore);  // no refresh at this tick
        QVERIFY(t.fakes.messages.shown.isEmpty());

        TestProgram u;
        u.programa.form1().habapaga->setValue(1);
        u.programa.form1().reinicia->click();
        start(u, "", "", "5");
        tick(u, 5);
        QCOMPARE(u.fakes.power.requests, QStringList{QStringLiteral("Reboot")});
    }

    void refusedPowerRequestIsReported() {
        TestProgram t;
        t.fakes.power.failure = QStringLiteral("Acceso denegado.");
        t.programa.form1().habapaga->setValue(1);
        t.programa.form1().apaga->click();
        start(t, "", "", "5");
        tick(t, 5);
        QCOMPARE(t.fakes.power.requests.size(), 1);
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QVERIFY(t.fakes.messages.lastText().contains(QStringLiteral("Acceso denegado.")));
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");

        // A refusal that comes long after the request is reported too.
        TestProgram u;
        u.programa.form1().habapaga->setValue(1);
        u.programa.form1().reinicia->click();
        start(u, "", "", "5");
        tick(u, 5);
        QVERIFY(u.fakes.messages.shown.isEmpty());
        tick(u, 40);
        Q_EMIT u.fakes.power.failed(PowerRequest::Reboot, QStringLiteral("systemctl: error"));
        QCOMPARE(u.fakes.messages.lastText(),
                 "No se pudo reiniciar el equipo.\n\nsystemctl: error");
        QCOMPARE(u.fakes.messages.shown.last().icon, MessageIcon::Critical);
    }

    void protectedAlertWithStopSysLocksTheScreen() {
        TestProgram t;
        Form1& f = t.programa.form1();
        t.programa.form7().StopSys->setValue(1);
        f.contra->setValue(1);
        f.Pass->setText(QStringLiteral("clave"));
        f.contra->setValue(0);  // greyed, but still in force
        f.texto->setText(QStringLiteral("Hora de salir"));
        start(t, "", "", "5");
        tick(t, 5);
        QVERIFY(t.programa.loaded<Form10>());
        QCOMPARE(t.programa.form10().Mensaje->text(), "Hora de salir");
        QVERIFY(!t.programa.loaded<Form3>());

        // Without StopSys the alert window comes instead.
        TestProgram u;
        u.programa.form1().Pass->setText(QStringLiteral("clave"));
        start(u, "", "", "5");
        tick(u, 5);
        QVERIFY(u.programa.loaded<Form3>());
        QVERIFY(!u.programa.loaded<Form10>());
    }

    void trayPicturesAdvanceOnePerTick() {
        TestProgram t;
        start(t, "", "1", "");
        QList<int> pictures;
        for (int i = 0; i < 5; ++i) {
            const auto before = t.fakes.tray.calls.size();
            tick(t);
            // Each refresh tries to add the icon, then modifies it.
            QCOMPARE(t.fakes.tray.calls.size(), before + 2);
            QCOMPARE(t.fakes.tray.calls[before].op, "add");
            QCOMPARE(t.fakes.tray.calls[before + 1].op, "modify");
            pictures.append(t.fakes.tray.calls.last().picture);
            QCOMPARE(t.fakes.tray.calls.last().tip, t.programa.form1().lblTiempo1->caption());
        }
        QCOMPARE(pictures, (QList<int>{1, 2, 3, 0, 1}));
    }

    void trayTipIsCutToItsLength() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.lblTiempo1->setCaption(QString(80, u'x'));
        f.trayRefresh();
        QCOMPARE(t.fakes.tray.calls.last().tip.size(), 63);
    }

    void stopWithoutPasswordResetsTheWindow() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.habiltext->setValue(1);
        f.texto->setText(QStringLiteral("texto"));
        start(t, "1", "2", "3");
        tick(t);
        f.detener->click();
        QVERIFY(!f.tmrCronómetro1->isActive());
        QVERIFY(f.salir->isEnabled());
        QCOMPARE(f.lblTiempo1->caption(), "00:00:00");
        QVERIFY(f.txtCantidadSegundos1->text().isEmpty());
        QVERIFY(f.hh->text().isEmpty() && f.mm->text().isEmpty() && f.ss->text().isEmpty());
        QVERIFY(f.texto->text().isEmpty());
        QCOMPARE(f.habiltext->value(), 0);
        QVERIFY(!f.texto->isEnabled());
        QCOMPARE(f.texto->backColour(), BackColour::Grey);
        QVERIFY(f.cmdIniciar1->isEnabled() && f.hh->isEnabled());
        QVERIFY(!f.detener->isEnabled());
        QVERIFY(f.isVisible());
        QVERIFY(!f.isMinimized());
        QCOMPARE(t.fakes.tray.calls.last().picture, kTrayIdle);
        QCOMPARE(t.fakes.tray.calls.last().tip, "Nodavia Tempix - Programador de Avisos");
        // The menu's cancel does nothing while no alert runs.
        const auto calls = t.fakes.tray.calls.size();
        f.cancela->trigger();
        QCOMPARE(t.fakes.tray.calls.size(), calls);
    }

    void stopWithPasswordAsksAndTheCountGoesOn() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.Pass->setText(QStringLiteral("clave"));
        start(t, "", "1", "");
        tick(t);
        f.detener->click();
        QVERIFY(t.programa.loaded<Form4>());
        QVERIFY(t.programa.form4().isVisible());
        QVERIFY(f.tmrCronómetro1->isActive());
        QVERIFY(!f.detener->isEnabled());
        QCOMPARE(t.fakes.tray.calls.last().picture, kTrayIdle);
        tick(t);
        QCOMPARE(f.lblTiempo1->caption(), "00:00:58");
        QVERIFY(t.fakes.tray.calls.last().picture != kTrayIdle);  // animated again
        // detener is disabled, but the menu item still reaches the stop.
        t.programa.unload<Form4>();
        TestProgram::settle();
        f.cancela->trigger();
        QVERIFY(t.programa.loaded<Form4>());
        QCOMPARE(f.Pass->text(), "clave");
    }

    void passwordAndTextBoxesFollowTheirChecks() {
        TestProgram t;
        Form1& f = t.programa.form1();
        // The colour drawn inside a box, left of its centred text.
        auto drawn = [](QWidget* box) {
            return box->grab().toImage().pixelColor(4, box->height() / 2);
        };
        const QColor enabled = drawn(f.hh);
        QVERIFY(!f.Pass->isEnabled());
        QVERIFY(drawn(f.Pass) != enabled);
        f.contra->click();
        QVERIFY(f.Pass->isEnabled());
        QCOMPARE(drawn(f.Pass), enabled);
        f.Pass->setText(QStringLiteral("clave"));
        f.contra->click();
        QVERIFY(!f.Pass->isEnabled());
        QVERIFY(drawn(f.Pass) != enabled);
        QCOMPARE(f.Pass->text(), "clave");  // the text stays
        f.habiltext->click();
        QVERIFY(f.texto->isEnabled());
        QCOMPARE(drawn(f.texto), enabled);
        f.habiltext->click();
        QVERIFY(!f.texto->isEnabled());
        QCOMPARE(drawn(f.texto), drawn(f.Pass));
    }

    void shutDownCheckClearsTextAndBothOptions() {
        TestProgram t;
        Form1& f = t.programa.form1();
        QVERIFY(!f.apaga->isEnabled() && !f.reinicia->isEnabled());
        f.habiltext->click();
        f.texto->setText(QStringLiteral("mensaje"));
        f.guardar->setEnabled(false);
        f.habapaga->click();
        QVERIFY(f.apaga->isEnabled() && f.reinicia->isEnabled());
        QVERIFY(f.texto->text().isEmpty());
        QVERIFY(f.guardar->isEnabled());  // through the emptied text
        QCOMPARE(f.habiltext->value(), 0);
        QVERIFY(!f.habiltext->isEnabled());
        f.apaga->click();
        QVERIFY(f.apaga->value());
        f.reinicia->click();
        QVERIFY(f.reinicia->value() && !f.apaga->value());
        f.reinicia->click();  // a click on the selected one keeps it
        QVERIFY(f.reinicia->value());
        f.habapaga->click();
        QVERIFY(!f.apaga->value() && !f.reinicia->value());  // both deselected
        QVERIFY(!f.apaga->isEnabled() && !f.reinicia->isEnabled());
        QVERIFY(f.habiltext->isEnabled());
        // A greyed state from the store deselects too.
        f.habapaga->setValue(1);
        f.apaga->click();
        f.habapaga->setValue(2);
        QVERIFY(!f.apaga->value());
        QVERIFY(!f.apaga->isEnabled());
    }

    void changesRunOnRealChangesOnly() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.hh->setText(QStringLiteral("1"));
        f.guardar->setEnabled(false);
        f.cmdIniciar1->setEnabled(false);
        f.hh->setText(QStringLiteral("1"));  // same text: no change handling
        QVERIFY(!f.guardar->isEnabled());
        f.hh->setText(QStringLiteral("2"));
        QVERIFY(f.guardar->isEnabled() && f.cmdIniciar1->isEnabled());
        f.guardar->setEnabled(false);
        f.Pass->setText(QStringLiteral("x"));
        QVERIFY(f.guardar->isEnabled());
    }

    void typingLimitHoldsForTypingOnly() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.show();
        f.hh->setFocus();
        QTest::keyClicks(f.hh, QStringLiteral("123456"));
        QCOMPARE(f.hh->text(), "1234");
        f.hh->setText(QStringLiteral("123456"));  // the program may set more
        QCOMPARE(f.hh->text(), "123456");
        f.habiltext->click();
        QTest::keyClicks(f.texto, QString(70, u'a'));
        QCOMPARE(f.texto->text().size(), 60);
    }

    void enterPressesTheStartButtonAndTabFollowsTheOrder() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), f.cmdIniciar1);
        // Disabled controls are skipped.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.contra);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.habiltext);  // Pass and texto are disabled
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.ss);
        QTest::keyClicks(f.ss, QStringLiteral("5"));
        QTest::keyClick(f.ss, Qt::Key_Return);
        QVERIFY(f.tmrCronómetro1->isActive());
        QCOMPARE(f.txtCantidadSegundos1->text(), "5");
    }

    void captionAndDesignState() {
        TestProgram t;
        Form1& f = t.programa.form1();
        QCOMPARE(f.windowTitle(), "Nodavia Tempix v" TEMPIX_PROJECT_VERSION);
        QCOMPARE(f.lblTiempo1->caption(), "00:00:00");
        QVERIFY(!f.tmrCronómetro1->isActive());
        QVERIFY(!f.detener->isEnabled());
        f.Pass->setText(QStringLiteral("abc"));
        QCOMPARE(f.Pass->displayText(), "***");
        QVERIFY(!f.txtCantidadSegundos1->isEnabled());
        QVERIFY(f.txtCantidadSegundos1->x() >= f.hh->window()->width() ||
                f.txtCantidadSegundos1->x() > 290);  // outside the client area
        QCOMPARE(f.hh->parentWidget()->objectName(), "frameCuenta");
        QCOMPARE(f.hh->geometry(), twipsRect(480, 600, 975, 285));
    }
};

QTEST_MAIN(CountdownTest)
#include "test_countdown.moc"
