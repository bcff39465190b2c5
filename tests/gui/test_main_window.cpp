// The main window's life cycle, its menus and tray icon, and the stopwatch.

#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "common/twips.h"
#include "lock/form9.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

class MainWindowTest : public QObject {
    Q_OBJECT

    static void tick(TestProgram& t, int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            t.fakes.ticks.advance(1000);
            t.programa.form1().tmrCronómetro1_Timer();
        }
    }

    // Starts the program and a 30-second alert under a password.
    static Form1& startProtected(TestProgram& t) {
        t.programa.start();
        Form1& f = t.programa.form1();
        f.Pass->setText(QStringLiteral("clave"));
        f.ss->setText(QStringLiteral("30"));
        f.cmdIniciar1->click();
        return f;
    }

private Q_SLOTS:
    void firstStartWithAnEmptyStore() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        QVERIFY(f.isVisible());
        QCOMPARE(f.windowTitle(), "Nodavia Tempix v" TEMPIX_PROJECT_VERSION);
        QVERIFY(f.hh->text().isEmpty() && f.Pass->text().isEmpty());
        QVERIFY(!f.tmrCronómetro1->isActive());
        QCOMPARE(f.habapaga->value(), 0);
        QVERIFY(!f.apaga->value() && !f.reinicia->value());
        QCOMPARE(t.fakes.tray.calls.size(), 1);
        QCOMPARE(t.fakes.tray.calls[0].op, "add");
        QCOMPARE(t.fakes.tray.calls[0].picture, kTrayIdle);
        QCOMPARE(t.fakes.tray.calls[0].tip, "Nodavia Tempix - Programador de Avisos");
        QVERIFY(t.fakes.store.log.isEmpty());
        QVERIFY(t.fakes.messages.shown.isEmpty());
    }

    void restoresTheSavedAlertInOrder() {
        TestProgram t;
        t.fakes.store.set("hh", "1");
        t.fakes.store.set("mm", "02");
        t.fakes.store.set("ss", "x");
        t.fakes.store.set("BlockPass", "616263");
        t.fakes.store.set("TextPerson", "hola");
        t.fakes.store.set("ShutState", "1");
        t.fakes.store.set("Shutdown", "-1");
        t.programa.start();
        Form1& f = t.programa.form1();
        QCOMPARE(f.hh->text(), "1");
        QCOMPARE(f.mm->text(), "02");
        QCOMPARE(f.ss->text(), "x");
        QCOMPARE(f.Pass->text(), "abc");
        QCOMPARE(f.contra->value(), 0);  // in force, but its box stays unchecked
        QVERIFY(!f.Pass->isEnabled());
        QCOMPARE(f.habapaga->value(), 1);
        QVERIFY(f.apaga->value());
        QVERIFY(f.texto->text().isEmpty());  // emptied by the shut-down check after restoring
        QVERIFY(f.guardar->isEnabled());
        QVERIFY(!f.tmrCronómetro1->isActive());
    }

    void storedBooleansAndBadValues() {
        TestProgram t;
        t.fakes.store.set("ShutState", "abc");
        t.fakes.store.set("Shutdown", "False");
        t.fakes.store.set("Restart", "True");
        t.fakes.store.set("BlockPass", "ZZ");  // does not decode: no password
        t.programa.start();
        Form1& f = t.programa.form1();
        QCOMPARE(f.habapaga->value(), 0);
        QVERIFY(!f.apaga->value());
        QVERIFY(f.reinicia->value());
        QVERIFY(f.Pass->text().isEmpty());
        QVERIFY(!t.programa.ended());
    }

    void startsMinimisedOnlyForExactlyOne() {
        TestProgram t;
        t.fakes.store.set("WindowState", "1");
        t.programa.start();
        QVERIFY(t.programa.form1().isHidden());
        QVERIFY(t.programa.form1().isMinimized());

        TestProgram u;
        u.fakes.store.set("WindowState", "01");
        u.programa.start();
        QVERIFY(u.programa.form1().isVisible());
    }

    void secondInstanceWithAPasswordEnds() {
        TestProgram t;
        t.fakes.store.set("BlockPass", "616263");
        t.fakes.instances.earlier = true;
        t.programa.start();
        QVERIFY(t.programa.ended());
        QCOMPARE(t.fakes.app.quits, 1);
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.lastText(),
                 "No se puede abrir Nodavia Tempix mas de una vez si hay un aviso configurado "
                 "bajo contraseña.");
        QCOMPARE(t.fakes.tray.calls.last().op, "remove");
        QVERIFY(t.fakes.store.log.isEmpty());

        // Without a stored password any number of instances may run.
        TestProgram u;
        u.fakes.instances.earlier = true;
        u.programa.start();
        QVERIFY(!u.programa.ended());
        QVERIFY(u.programa.form1().isVisible());
    }

    void runAutoStartsTheSavedAlertWithoutChecks() {
        TestProgram t;
        t.fakes.store.set("RunAuto", "1");
        t.programa.start();
        Form1& f = t.programa.form1();
        QVERIFY(f.tmrCronómetro1->isActive());
        QVERIFY(t.fakes.messages.shown.isEmpty());  // an empty alert is not refused here
        tick(t);
        QVERIFY(!f.tmrCronómetro1->isActive());
        QVERIFY(t.programa.loaded<Form3>());

        TestProgram u;
        u.fakes.store.set("RunAuto", "1");
        u.fakes.store.set("mm", "30");
        u.fakes.store.set("Minimize", "1");
        u.fakes.store.set("WindowState", "0");
        u.programa.start();
        QVERIFY(u.programa.form1().isVisible());
        tick(u);
        QCOMPARE(u.programa.form1().lblTiempo1->caption(), "00:29:59");

        TestProgram v;
        v.fakes.store.set("RunAuto", "01");
        v.fakes.store.set("mm", "30");
        v.programa.start();
        QVERIFY(!v.programa.form1().tmrCronómetro1->isActive());
    }

    void runAutoRefusesATotalThatDoesNotFit() {
        TestProgram t;
        t.fakes.store.set("RunAuto", "1");
        t.fakes.store.set("hh", "9E9");
        t.programa.start();
        QVERIFY(!t.programa.ended());
        QVERIFY(!t.programa.form1().tmrCronómetro1->isActive());
        QVERIFY(t.fakes.messages.lastText().contains(QStringLiteral("demasiado largo")));
        QCOMPARE(t.programa.form1().hh->text(), "9E9");
    }

    void runAutoWithWindowStateHidesAgain() {
        TestProgram t;
        t.fakes.store.set("RunAuto", "1");
        t.fakes.store.set("mm", "5");
        t.fakes.store.set("Minimize", "1");
        t.fakes.store.set("WindowState", "1");
        t.programa.start();
        QVERIFY(t.programa.form1().isHidden());
        QVERIFY(t.programa.form1().tmrCronómetro1->isActive());
    }

    void exitRemovesTheIconAndSavesNothing() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        f.mm->setText(QStringLiteral("5"));
        f.salir->trigger();
        QVERIFY(t.programa.ended());
        QCOMPARE(t.fakes.app.quits, 1);
        QCOMPARE(t.fakes.tray.calls.last().op, "remove");
        QVERIFY(t.fakes.store.log.isEmpty());
    }

    void closingARunningAlertWithoutPasswordEndsSilently() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        t.programa.form7().minimiza->setValue(1);
        f.ss->setText(QStringLiteral("30"));
        f.cmdIniciar1->click();
        const auto saved = t.fakes.store.log.size();
        f.close();
        QVERIFY(t.programa.ended());
        QCOMPARE(t.fakes.store.log.size(), saved);
    }

    void closingAProtectedRunningAlert() {
        // With a tray host the window is on screen only after the password: closing it ends
        // the program, asking nothing.
        {
            TestProgram t;
            startProtected(t).close();
            QVERIFY(t.programa.ended());
            QVERIFY(!t.programa.loaded<Form9>());
        }
        // Without one the taskbar's close command is within anyone's reach: it asks.
        TestProgram t;
        t.fakes.tray.isAvailable = false;
        Form1& f = startProtected(t);
        f.close();
        QVERIFY(!t.programa.ended());
        QCOMPARE(t.programa.form9().accion, "salir");
        // Left open, the prompt is asked again from the menu to show the window: the right
        // password then shows it, and the alert goes on.
        f.nuevo->trigger();
        Form9& prompt = t.programa.form9();
        QCOMPARE(prompt.accion, "nuevo");
        prompt.Pass->setText(QStringLiteral("clave"));
        prompt.aceptar->click();
        QVERIFY(!t.programa.ended());
        QVERIFY(f.isVisible() && !f.isMinimized());
        QVERIFY(f.tmrCronómetro1->isActive());
    }

    void aHiddenProtectedWindowLeavingMinimisedOpensNoPrompt() {
        // The window manager withdrawing the hidden window may report it as no longer
        // minimised: nobody restored it, so no prompt comes up.
        TestProgram t;
        Form1& f = startProtected(t);
        QVERIFY(f.isHidden());
        f.setWindowState(Qt::WindowNoState);
        QVERIFY(!t.programa.loaded<Form9>());
        QVERIFY(f.isHidden());
        QVERIFY(f.isMinimized());
    }

    void minimisingHidesIntoTheTrayAndNuevoBringsItBack() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        f.setWindowState(f.windowState() | Qt::WindowMinimized);  // as the window manager does
        QVERIFY(f.isHidden());
        f.nuevo->trigger();
        QVERIFY(f.isVisible());
        QVERIFY(!f.isMinimized());
    }

    void withoutATrayTheWindowStaysInTheTaskbar() {
        TestProgram t;
        t.fakes.tray.isAvailable = false;
        t.programa.start();
        Form1& f = t.programa.form1();
        f.setStateMinimised();
        QVERIFY(f.isVisible());
        QVERIFY(f.isMinimized());
        // The tray appears later: the icon goes there and the window with it.
        t.fakes.tray.setAvailable(true);
        QCOMPARE(t.fakes.tray.calls.last().op, "add");
        QVERIFY(f.isHidden());
    }

    void withoutATrayAProtectedWindowIsRestoredOnlyThroughThePrompt() {
        TestProgram t;
        t.fakes.tray.isAvailable = false;
        Form1& f = startProtected(t);
        QVERIFY(f.isMinimized());
        QVERIFY(f.isVisible());  // in the taskbar
        // The user restores it from the taskbar.
        f.setWindowState(Qt::WindowNoState);
        QVERIFY(f.isMinimized());
        QVERIFY(t.programa.loaded<Form9>());
        QVERIFY(t.programa.form9().isVisible());
    }

    void nuevoWithAPasswordOpensThePromptAndTheWindowStaysHidden() {
        TestProgram t;
        t.fakes.store.set("BlockPass", "616263");
        t.fakes.store.set("WindowState", "1");
        t.programa.start();
        Form1& f = t.programa.form1();
        f.nuevo->trigger();
        QVERIFY(t.programa.loaded<Form9>());
        QCOMPARE(t.programa.form9().accion, "nuevo");
        QVERIFY(f.isHidden());
    }

    void stopwatchCommandNeedsAStartedAlert() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        f.cronometro->trigger();
        QCOMPARE(t.fakes.messages.lastText(), "No hay ningun aviso programado");
        QCOMPARE(t.fakes.messages.shown.last().title, "Tempix");
        QCOMPARE(t.fakes.messages.shown.last().icon, MessageIcon::Critical);
        f.ss->setText(QStringLiteral("20"));
        f.cmdIniciar1->click();
        f.cronometro->trigger();
        QVERIFY(t.programa.form2().isVisible());
    }

    void stopwatchFollowsTheMainWindow() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        t.programa.form7().ShowCron->setValue(1);
        f.ss->setText(QStringLiteral("20"));
        f.cmdIniciar1->click();
        QVERIFY(t.programa.loaded<Form2>());
        Form2& stopwatch = t.programa.form2();
        QVERIFY(stopwatch.isVisible());
        QCOMPARE(stopwatch.lblTiempo1->caption(), "00:00:00");
        QCOMPARE(stopwatch.windowTitle(), "Tempix 2019");
        QCOMPARE(stopwatch.size(), twipsSize(1875, 495));
        QCOMPARE(stopwatch.lblTiempo1->geometry(), stopwatch.rect());  // the time is centred
        tick(t);
        QCOMPARE(t.programa.form2().lblTiempo1->caption(), "00:00:19");
        // Activated, it goes above the other windows.
        stopwatch.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&stopwatch));
        QVERIFY(stopwatch.isOnTop());
        tick(t, 19);
        QVERIFY(!t.programa.loaded<Form2>());  // gone in the completing tick
    }

    void stopwatchLoadsHiddenUnlessNoDown() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        f.ss->setText(QStringLiteral("20"));
        f.cmdIniciar1->click();
        tick(t);
        QVERIFY(t.programa.loaded<Form2>());  // loaded by the copy of the time
        QVERIFY(t.programa.form2().isHidden());

        TestProgram u;
        u.programa.start();
        u.programa.form7().NoDown->setValue(1);
        u.programa.form1().ss->setText(QStringLiteral("20"));
        u.programa.form1().cmdIniciar1->click();
        tick(u);
        QVERIFY(u.programa.form2().isVisible());
        QVERIFY(u.programa.form2().isOnTop());
        u.programa.form2().close();  // the user closes it: unloaded
        QVERIFY(!u.programa.loaded<Form2>());
        TestProgram::settle();
        tick(u);
        QVERIFY(u.programa.loaded<Form2>());
        QVERIFY(u.programa.form2().isVisible());
        QCOMPARE(u.programa.form2().lblTiempo1->caption(), "00:00:18");
    }

    void trayButtonOpensTheFileMenu() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        t.fakes.tray.release();
        QVERIFY(f.mnuPopMenu->isVisible());
        f.mnuPopMenu->close();
    }

    void menusHoldEveryCommand() {
        TestProgram t;
        Form1& f = t.programa.form1();
        QStringList menus;
        for (QAction* a : f.menuBar->actions()) {
            menus << a->text();
        }
        QCOMPARE(menus, (QStringList{"Archivo", "Herramientas", "Información", "ND 2019"}));
        QVERIFY(!f.logoMenu->isEnabled());
        QStringList archivo;
        for (QAction* a : f.mnuPopMenu->actions()) {
            archivo << a->objectName() + u'=' + a->text();
        }
        QCOMPARE(archivo, (QStringList{"nuevo=Configurar Aviso", "cronometro=Ver Cronometro",
                                       "cancela=Cancelar Aviso", "opc=Opciones", "salir=Salir"}));
        f.ayuda->trigger();
        QCOMPARE(t.fakes.opener.opened.size(), 1);
        QCOMPARE(t.fakes.opener.opened[0], QUrl::fromLocalFile("/opt/tempix/tempix_help.html"));
        f.opc->trigger();
        QVERIFY(t.programa.form7().isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
