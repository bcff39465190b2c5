// The end of an alert: the alert window, the two password prompts and the screen lock.

#include "about/form5.h"
#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "lock/form10.h"
#include "lock/form4.h"
#include "lock/form9.h"
#include "platform/linux/sound.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QTemporaryDir>
#include <QTest>

class CompletionTest : public QObject {
    Q_OBJECT

    static void tick(TestProgram& t, int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            t.fakes.ticks.advance(1000);
            t.programa.form1().tmrCronómetro1_Timer();
        }
    }

    // A 5-second alert run to its end.
    static void complete(TestProgram& t, const QString& password = QString()) {
        t.programa.start();
        Form1& f = t.programa.form1();
        f.Pass->setText(password);
        f.texto->setText(QStringLiteral("texto"));
        f.hh->setText(QStringLiteral("1"));
        f.mm->setText(QStringLiteral("2"));
        f.ss->setText(QStringLiteral("3"));
        f.cmdIniciar1->click();
        t.fakes.ticks.advance(3723 * 1000);
        f.tmrCronómetro1_Timer();
        QVERIFY(t.programa.loaded<Form3>());
    }

    static void type(TextBox* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

private Q_SLOTS:
    void alertWindowLoad() {
        TestProgram t;
        complete(t);
        Form3& w = t.programa.form3();
        QCOMPARE(w.windowTitle(), "Velmora Tempix");
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.isOnTop());
        QVERIFY(w.closeCommandWithdrawn());
        QVERIFY(!t.programa.form1().detener->isEnabled());
        QCOMPARE(t.fakes.sound.played, QStringList{"/opt/tempix/nodav.wav"});
        QCOMPARE(w.Mensaje->text(), "texto");
        w.close();  // a close request from outside
        QVERIFY(t.programa.loaded<Form3>());

        // With a password the window stays out of the topmost band; no sound when sonido
        // is off, the greyed state included.
        TestProgram u;
        u.fakes.store.set("Sound", "2");
        complete(u, QStringLiteral("clave"));
        QVERIFY(!u.programa.form3().isOnTop());
        QVERIFY(u.fakes.sound.played.isEmpty());
    }

    void acceptKeepsTheTimes() {
        TestProgram t;
        complete(t);
        Form1& f = t.programa.form1();
        f.cmdIniciar1->setEnabled(false);
        f.hh->setEnabled(false);
        t.programa.form3().aceptar->click();
        QCOMPARE(f.hh->text(), "1");
        QCOMPARE(f.mm->text(), "2");
        QCOMPARE(f.ss->text(), "3");
        QVERIFY(f.hh->isEnabled() && f.cmdIniciar1->isEnabled());
        QVERIFY(f.Pass->text().isEmpty() && f.texto->text().isEmpty());
        QVERIFY(f.txtCantidadSegundos1->text().isEmpty());
        QVERIFY(!t.programa.loaded<Form3>());
    }

    void newAlertEmptiesTheTimesAndShowsTheWindow() {
        TestProgram t;
        complete(t);
        Form1& f = t.programa.form1();
        QVERIFY(f.isHidden());
        t.programa.form3().nuevo->click();
        QVERIFY(f.hh->text().isEmpty() && f.mm->text().isEmpty() && f.ss->text().isEmpty());
        QVERIFY(f.hh->isEnabled());
        QVERIFY(f.isVisible());
        QVERIFY(!f.isMinimized());
        QVERIFY(!t.programa.loaded<Form3>());
    }

    void exitEndsTheProgram() {
        TestProgram t;
        complete(t);
        t.programa.form3().salir->click();
        QVERIFY(t.programa.ended());
    }

    void withAPasswordTheButtonsGoThroughThePrompt() {
        TestProgram t;
        complete(t, QStringLiteral("Clave"));
        Form3& w = t.programa.form3();
        w.salir->click();
        QVERIFY(!t.programa.ended());
        QVERIFY(t.programa.form9().isVisible());
        QVERIFY(t.programa.form9().isOnTop());
        QCOMPARE(t.programa.form9().accion, "salir");
        w.aceptar->click();  // leaves the pending action alone
        QCOMPARE(t.programa.form9().accion, "salir");
        w.nuevo->click();
        QCOMPARE(t.programa.form9().accion, "nuevo");
        w.salir->click();

        Form9& prompt = t.programa.form9();
        prompt.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(), "Coloca la contraseña para continuar.");
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");
        type(prompt.Pass, QStringLiteral("clave"));  // differs only in case
        QTest::keyClick(prompt.Pass, Qt::Key_Return);
        QCOMPARE(t.fakes.messages.lastText(), "La contraseña es Incorrecta.");
        QCOMPARE(prompt.Pass->text(), "clave");
        QVERIFY(!t.programa.ended());
        type(prompt.Pass, QStringLiteral("Clave"));
        QTest::keyClick(prompt.Pass, Qt::Key_Return);
        QVERIFY(t.programa.ended());
    }

    void actionPromptBringsTheMainWindowBack() {
        TestProgram t;
        complete(t, QStringLiteral("clave"));
        t.programa.form1().cronometro->trigger();
        QVERIFY(t.programa.loaded<Form2>());
        t.programa.form3().nuevo->click();
        Form9& prompt = t.programa.form9();
        type(prompt.Pass, QStringLiteral("clave"));
        prompt.aceptar->click();
        Form1& f = t.programa.form1();
        QVERIFY(f.isVisible() && !f.isMinimized());
        QCOMPARE(f.hh->text(), "1");  // fields as they were
        QCOMPARE(f.Pass->text(), "clave");
        QVERIFY(!t.programa.loaded<Form2>());
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(!t.programa.loaded<Form9>());

        // Any other action: nothing happens.
        t.programa.form9().accion = QStringLiteral("Salir");
        type(t.programa.form9().Pass, QStringLiteral("clave"));
        t.programa.form9().aceptar->click();
        QVERIFY(t.programa.loaded<Form9>());
        QVERIFY(!t.programa.ended());
        t.programa.form9().Label2->Click();
        QVERIFY(t.programa.loaded<Form5>());
    }

    void cancelPromptResetsTheMainWindow() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        f.contra->setValue(1);
        f.Pass->setText(QStringLiteral("clave"));
        f.habiltext->setValue(1);
        f.texto->setText(QStringLiteral("texto"));
        f.ss->setText(QStringLiteral("40"));
        t.programa.form7().ShowCron->setValue(1);
        f.cmdIniciar1->click();
        tick(t);
        QVERIFY(t.programa.form2().isVisible());
        const QString stored = t.fakes.store.get("BlockPass").value();
        f.detener->click();
        Form4& prompt = t.programa.form4();
        QCOMPARE(prompt.windowTitle(), "Nodavia Tempix v4.0.55");
        prompt.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(),
                 "Coloca la contraseña para cancelar el aviso que esta programado.");
        QCOMPARE(t.fakes.messages.shown.last().title, "Tempix");
        type(prompt.Pass, QStringLiteral("CLAVE"));
        prompt.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(), "La contraseña es Incorrecta.");
        QCOMPARE(prompt.Pass->text(), "CLAVE");
        QVERIFY(f.tmrCronómetro1->isActive());

        type(prompt.Pass, QStringLiteral("clave"));
        QTest::keyClick(prompt.Pass, Qt::Key_Return);
        QVERIFY(!f.tmrCronómetro1->isActive());
        QCOMPARE(f.lblTiempo1->caption(), "00:00:00");
        QVERIFY(f.txtCantidadSegundos1->text().isEmpty());
        QVERIFY(f.Pass->text().isEmpty() && !f.Pass->isEnabled());
        QCOMPARE(f.Pass->backColour(), BackColour::Grey);
        QVERIFY(f.texto->text().isEmpty() && !f.texto->isEnabled());
        QCOMPARE(f.texto->backColour(), BackColour::Grey);
        QVERIFY(f.contra->isEnabled() && f.habiltext->isEnabled());
        QCOMPARE(f.contra->value(), 1);  // only their enabled state changes
        QVERIFY(f.hh->text().isEmpty() && f.ss->text().isEmpty() && f.ss->isEnabled());
        QVERIFY(f.cmdIniciar1->isEnabled());
        QVERIFY(f.isVisible() && !f.isMinimized());
        QVERIFY(!t.programa.loaded<Form2>());
        QVERIFY(!t.programa.loaded<Form4>());
        QCOMPARE(t.fakes.store.get("BlockPass").value(), stored);  // untouched
    }

    void lockAtTheEndOfAProtectedAlert() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        t.programa.form7().StopSys->setValue(1);
        f.Pass->setText(QStringLiteral("clave"));
        f.ss->setText(QStringLiteral("5"));
        f.cmdIniciar1->click();
        tick(t, 5);
        Form10& lock = t.programa.form10();
        QVERIFY(lock.isVisible());
        QVERIFY(lock.isOnTop());
        QVERIFY(lock.windowState().testFlag(Qt::WindowFullScreen));
        QVERIFY(lock.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(lock.Mensaje->text(), "El Tiempo ha Terminado.");

        // Close requests from outside leave it up.
        lock.close();
        QVERIFY(t.programa.loaded<Form10>());
        QVERIFY(lock.isVisible());

        // Out of the topmost band while a message is up, back afterwards.
        bool onTopWhileShown = true;
        t.fakes.messages.whileShown = [&](const FakeMessages::Shown&) {
            onTopWhileShown = lock.isOnTop();
        };
        lock.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(), "Coloca la contraseña para continuar.");
        QVERIFY(!onTopWhileShown);
        QVERIFY(lock.isOnTop());
        type(lock.Pass, QStringLiteral("Clave"));
        QTest::keyClick(lock.Pass, Qt::Key_Return);
        QCOMPARE(t.fakes.messages.lastText(), "La contraseña es Incorrecta.");
        QCOMPARE(lock.Pass->text(), "Clave");

        // The right one: gone, and the main window shown (ShowStart, checked with StopSys).
        t.fakes.messages.whileShown = nullptr;
        type(lock.Pass, QStringLiteral("clave"));
        lock.aceptar->click();
        QVERIFY(!t.programa.loaded<Form10>());
        QVERIFY(f.isVisible());
    }

    void lockWithoutShowStartLeavesTheMainWindowHidden() {
        TestProgram t;
        t.programa.start();
        Form1& f = t.programa.form1();
        t.programa.form7().StopSys->setValue(1);
        t.programa.form7().ShowStart->setValue(0);
        f.Pass->setText(QStringLiteral("clave"));
        f.ss->setText(QStringLiteral("5"));
        f.cmdIniciar1->click();
        tick(t, 5);
        type(t.programa.form10().Pass, QStringLiteral("clave"));
        t.programa.form10().aceptar->click();
        QVERIFY(!t.programa.loaded<Form10>());
        QVERIFY(f.isHidden());
        QVERIFY(!t.programa.ended());
    }

    void lockCentresItsControlsAtEveryWidth() {
        TestProgram t;
        t.programa.form1().texto->setText(QString(400, u'w'));
        Form10& lock = t.programa.form10();
        lock.Mensaje->setText(t.programa.form1().texto->text());
        for (int width : {800, 1920}) {
            lock.setWindowState(Qt::WindowNoState);
            lock.resize(width, 900);
            QCoreApplication::processEvents();
            for (QWidget* c :
                 {static_cast<QWidget*>(lock.Picture2), static_cast<QWidget*>(lock.Mensaje),
                  static_cast<QWidget*>(lock.Pass), static_cast<QWidget*>(lock.aceptar),
                  static_cast<QWidget*>(lock.Label3)}) {
                QCOMPARE(c->x(), (width - c->width()) / 2);
            }
            QCOMPARE(lock.Pass->y(), 6960 / 15);
            QCOMPARE(lock.Mensaje->height(), 1335 / 15);  // a long text is cut, not enlarged
        }
    }

    void soundFallsBackToTheDefault() {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("nodav.wav"));
        QFile f(good);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
        f.close();
        QCOMPARE(soundToPlay(good), good);
        QCOMPARE(soundToPlay(dir.filePath(QStringLiteral("missing.wav"))), kDefaultSound);
        const QString empty = dir.filePath(QStringLiteral("empty.wav"));
        QFile e(empty);
        QVERIFY(e.open(QIODevice::WriteOnly));
        e.close();
        QCOMPARE(soundToPlay(empty), kDefaultSound);
        const QString garbage = dir.filePath(QStringLiteral("garbage.wav"));
        QFile g(garbage);
        QVERIFY(g.open(QIODevice::WriteOnly));
        g.write("this is not a sound file");
        g.close();
        QCOMPARE(soundToPlay(garbage), kDefaultSound);
        QCOMPARE(soundToPlay(dir.path()), kDefaultSound);  // a folder
        QVERIFY(QFile::exists(kDefaultSound));             // compiled in
    }
};

QTEST_MAIN(CompletionTest)
#include "test_completion.moc"
