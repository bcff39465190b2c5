// The alert window at the end of an alert: its load, its three buttons with and without a
// password, and the player of the sound it plays.

#include "about/form5.h"
#include "alert/form3.h"
#include "app/form1.h"
#include "lock/form9.h"
#include "platform/linux/sound.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QTest>

class AlertWindowTest : public QObject {
    Q_OBJECT

    // A 1 h 2 min 3 s alert with a custom text, run to its end.
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
    void loadWithoutAPassword() {
        TestProgram t;
        complete(t);
        Form3& w = t.programa.form3();
        QCOMPARE(w.windowTitle(), "Velmora Tempix");
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.isVisible());
        QVERIFY(w.isOnTop());
        QVERIFY(!t.programa.form1().detener->isEnabled());
        QCOMPARE(t.fakes.sound.played, QStringList{"/opt/tempix/nodav.wav"});
        QCOMPARE(w.Mensaje->text(), "texto");
        QCOMPARE(w.Mensaje->font().pointSize(), 18);
        QVERIFY(!w.Mensaje->font().bold());
        QCOMPARE(w.Label2->text(), "Nodavia 2019");

        // A text longer than the box is cut at its end: its first line is drawn whole.
        w.Mensaje->setText(kLongAlertText);
        QVERIFY(w.Mensaje->heightForWidth(w.Mensaje->width()) > w.Mensaje->height());
        const int top = firstLightRow(w, w.Mensaje);
        QVERIFY2(top > 0 && top < w.Mensaje->fontMetrics().height(),
                 qPrintable(QString::number(top)));

        // The buttons stand one above the other, in tab order, at the lower right.
        QCOMPARE(w.aceptar->nextInFocusChain(), w.nuevo);
        QCOMPARE(w.nuevo->nextInFocusChain(), w.salir);
        QVERIFY(w.aceptar->y() < w.nuevo->y() && w.nuevo->y() < w.salir->y());
        QVERIFY(w.salir->geometry().right() > w.width() * 3 / 4);
        QVERIFY(w.salir->geometry().bottom() > w.height() * 3 / 4);

        // Nothing from outside closes it; the maker label does nothing.
        w.close();
        QVERIFY(t.programa.loaded<Form3>());
        QVERIFY(w.isVisible());
        w.Label2->Click();
        QVERIFY(!t.programa.loaded<Form5>());
    }

    void loadWithAPasswordOrWithoutSound() {
        // With a password the window stays out of the topmost band, so the prompt can come
        // above it; sonido greyed plays nothing.
        TestProgram t;
        t.fakes.store.set("Sound", "2");
        complete(t, QStringLiteral("clave"));
        QCOMPARE(t.programa.form7().sonido->value(), 2);
        QVERIFY(!t.programa.form3().isOnTop());
        QVERIFY(t.programa.form3().isVisible());
        QVERIFY(t.fakes.sound.played.isEmpty());

        TestProgram u;
        u.fakes.store.set("Sound", "0");
        complete(u);
        QVERIFY(u.fakes.sound.played.isEmpty());
    }

    void acceptKeepsTheTimes() {
        TestProgram t;
        complete(t);
        Form1& f = t.programa.form1();
        f.cmdIniciar1->setEnabled(false);
        f.hh->setEnabled(false);
        f.mm->setEnabled(false);
        f.ss->setEnabled(false);
        t.programa.form3().aceptar->click();
        QCOMPARE(f.hh->text(), "1");
        QCOMPARE(f.mm->text(), "2");
        QCOMPARE(f.ss->text(), "3");
        QVERIFY(f.hh->isEnabled() && f.mm->isEnabled() && f.ss->isEnabled());
        QVERIFY(f.cmdIniciar1->isEnabled());
        QVERIFY(f.Pass->text().isEmpty());
        QVERIFY(f.texto->text().isEmpty());
        QVERIFY(f.txtCantidadSegundos1->text().isEmpty());
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(f.isHidden());  // neither restored nor shown by this button
        TestProgram::settle();

        // The same countdown can start again at once.
        f.cmdIniciar1->click();
        QVERIFY(f.tmrCronómetro1->isActive());
        QCOMPARE(f.txtCantidadSegundos1->text(), "3723");
    }

    void newAlertEmptiesTheTimesAndShowsTheWindow() {
        TestProgram t;
        complete(t);
        Form1& f = t.programa.form1();
        f.setStateMinimised();
        QVERIFY(f.isHidden());
        f.guardar->setEnabled(false);
        t.programa.form3().nuevo->click();
        QVERIFY(f.hh->text().isEmpty() && f.mm->text().isEmpty() && f.ss->text().isEmpty());
        QVERIFY(f.hh->isEnabled() && f.mm->isEnabled() && f.ss->isEnabled());
        QVERIFY(f.Pass->text().isEmpty() && f.texto->text().isEmpty());
        QVERIFY(f.txtCantidadSegundos1->text().isEmpty());
        QVERIFY(f.guardar->isEnabled());  // the fields' change handling ran
        QVERIFY(f.isVisible());
        QVERIFY(!f.isMinimized());
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(!t.programa.ended());
    }

    void exitEndsTheProgram() {
        TestProgram t;
        complete(t);
        t.programa.form3().salir->click();
        QVERIFY(t.programa.ended());
        QCOMPARE(t.fakes.app.quits, 1);
    }

    void withAPasswordTheButtonsGoThroughThePrompt() {
        TestProgram t;
        complete(t, QStringLiteral("Clave"));
        Form3& w = t.programa.form3();
        Form1& f = t.programa.form1();

        // Salir, then Aceptar before answering: the action stays "salir".
        w.salir->click();
        QVERIFY(!t.programa.ended());
        QVERIFY(t.programa.form9().isVisible());
        QVERIFY(t.programa.form9().isOnTop());
        QCOMPARE(t.programa.form9().accion, "salir");
        w.aceptar->click();
        QCOMPARE(t.programa.form9().accion, "salir");
        QVERIFY(t.programa.loaded<Form3>());
        QCOMPARE(f.Pass->text(), "Clave");  // nothing cleared without the password
        QCOMPARE(f.hh->text(), "1");

        // Nuevo Aviso after Salir changes it, and brings back a prompt left minimised.
        t.programa.form9().setWindowState(Qt::WindowMinimized);
        w.nuevo->click();
        QVERIFY(!t.programa.form9().isMinimized());
        QVERIFY(t.programa.form9().isVisible());
        QCOMPARE(t.programa.form9().accion, "nuevo");
        QCOMPARE(f.hh->text(), "1");
        w.salir->click();
        QCOMPARE(t.programa.form9().accion, "salir");

        Form9& prompt = t.programa.form9();
        type(prompt.Pass, QStringLiteral("clave"));  // differs only in case
        QTest::keyClick(prompt.Pass, Qt::Key_Return);
        QCOMPARE(t.fakes.messages.lastText(), "La contraseña es Incorrecta.");
        QVERIFY(!t.programa.ended());
        type(prompt.Pass, QStringLiteral("Clave"));
        QTest::keyClick(prompt.Pass, Qt::Key_Return);
        QVERIFY(t.programa.ended());
    }

    void acceptWithAPasswordOpensAFreshPromptAsNuevo() {
        // A prompt loaded by Aceptar has an empty action, which acts as "nuevo".
        TestProgram t;
        complete(t, QStringLiteral("clave"));
        t.programa.form3().aceptar->click();
        QVERIFY(t.programa.form9().accion.isEmpty());
        type(t.programa.form9().Pass, QStringLiteral("clave"));
        t.programa.form9().aceptar->click();
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(!t.programa.loaded<Form9>());
        QVERIFY(t.programa.form1().isVisible());
        QCOMPARE(t.programa.form1().hh->text(), "1");  // the prompt keeps every field
        QVERIFY(!t.programa.ended());

        // The next opening starts again from an empty action.
        TestProgram::settle();
        complete(t, QStringLiteral("clave"));
        t.programa.form3().salir->click();
        type(t.programa.form9().Pass, QStringLiteral("clave"));
        t.programa.form9().aceptar->click();
        QVERIFY(t.programa.ended());
    }

    void soundPlayerIsLoadedAtTheFirstSoundOnly() {
        auto multimediaMapped = [] {
            QFile maps(QStringLiteral("/proc/self/maps"));
            return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
        };
        // Without its module the program goes on, silent.
        LinuxSound missing(QStringLiteral("/nonexistent/tempix-sound.so"));
        missing.play(QStringLiteral("/nonexistent/nodav.wav"));
        QVERIFY(!missing.loaded());

        LinuxSound sound(QStringLiteral(TEMPIX_SOUND_MODULE));
        QVERIFY(!sound.loaded());
        QVERIFY(!multimediaMapped());  // nothing of it in memory before the first sound
        sound.play(QStringLiteral("/nonexistent/nodav.wav"));
        QVERIFY(sound.loaded());
        QVERIFY(multimediaMapped());
    }
};

QTEST_MAIN(AlertWindowTest)
#include "test_alert_window.moc"
