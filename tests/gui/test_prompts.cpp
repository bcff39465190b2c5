// The two password prompts: the action prompt of the alert window and the cancel prompt of a
// running alert.

#include "about/form5.h"
#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "common/twips.h"
#include "lock/form4.h"
#include "lock/form9.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QAction>
#include <QTest>

class PromptsTest : public QObject {
    Q_OBJECT

    static void tick(TestProgram& t, int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            t.fakes.ticks.advance(1000);
            t.programa.form1().tmrCronómetro1_Timer();
        }
    }

    // A protected 1 h 2 min 3 s alert run to its end, with the stopwatch open.
    static void complete(TestProgram& t, const QString& password) {
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

    // A protected 40-second alert running, the stopwatch open; Detener opens the prompt.
    static void runProtected(TestProgram& t) {
        t.programa.start();
        Form1& f = t.programa.form1();
        f.contra->setValue(1);
        f.Pass->setText(QStringLiteral("clave"));
        f.habiltext->setValue(1);
        f.texto->setText(QStringLiteral("texto"));
        f.hh->setText(QStringLiteral("0"));
        f.mm->setText(QStringLiteral("0"));
        f.ss->setText(QStringLiteral("40"));
        t.programa.form7().ShowCron->setValue(1);
        f.cmdIniciar1->click();
        tick(t);
        QVERIFY(t.programa.form2().isVisible());
        f.detener->click();
        QVERIFY(t.programa.form4().isVisible());
    }

    static void type(TextBox* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

    static void checkWindow(Form& w, int heightTwips) {
        QCOMPARE(w.windowTitle(), "Nodavia Tempix v" TEMPIX_PROJECT_VERSION);
        QCOMPARE(w.size(), twipsSize(4110, heightTwips));
        QCOMPARE(w.minimumSize(), w.maximumSize());  // fixed size
        QVERIFY(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!w.windowFlags().testFlag(Qt::FramelessWindowHint));
    }

private Q_SLOTS:
    void actionPromptWindow() {
        TestProgram t;
        complete(t, QStringLiteral("clave"));
        t.programa.form3().nuevo->click();
        Form9& prompt = t.programa.form9();
        checkWindow(prompt, 1215);
        QVERIFY(prompt.isVisible() && prompt.isOnTop());
        QCOMPARE(prompt.Label1->text(), "Ingrese su Contraseña");
        prompt.Pass->setText(QStringLiteral("ab"));
        QCOMPARE(prompt.Pass->displayText(), "**");
        prompt.Pass->clear();
        QCOMPARE(prompt.aceptar->text(), "Aceptar");
        QVERIFY(!prompt.Image1->pixmap().isNull());
        prompt.aceptar->setFocus();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&prompt, &activate);
        QCOMPARE(prompt.focusWidget(), prompt.Pass);

        prompt.Label2->Click();
        QVERIFY(t.programa.form5().isVisible());
        QVERIFY(t.programa.loaded<Form9>());
    }

    void actionPromptRefusesEmptyAndWrongPasswords() {
        TestProgram t;
        complete(t, QStringLiteral("Clave"));
        t.programa.form3().salir->click();
        Form9& prompt = t.programa.form9();
        prompt.aceptar->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.lastText(), "Coloca la contraseña para continuar.");
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");
        QCOMPARE(t.fakes.messages.shown.last().icon, MessageIcon::Critical);
        QCOMPARE(prompt.focusWidget(), prompt.Pass);

        for (const QString& wrong : {u"clave"_qs, u"CLAVE"_qs, u"Clave "_qs, u"Clav"_qs}) {
            type(prompt.Pass, wrong);
            prompt.aceptar->setFocus();
            prompt.aceptar->click();
            QCOMPARE(t.fakes.messages.lastText(), "La contraseña es Incorrecta.");
            QCOMPARE(prompt.Pass->text(), wrong);
            QCOMPARE(prompt.focusWidget(), prompt.Pass);
            QVERIFY(!t.programa.ended());
        }
        QCOMPARE(t.fakes.messages.shown.size(), 5);
        QVERIFY(t.programa.loaded<Form3>());

        // Enter in the box presses Aceptar.
        type(prompt.Pass, QStringLiteral("Clave"));
        QTest::keyClick(prompt.Pass, Qt::Key_Return);
        QVERIFY(t.programa.ended());
    }

    void emptyBoxIsRefusedEvenWithoutAPassword() {
        TestProgram t;
        Form9& prompt = t.programa.form9();
        prompt.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(), "Coloca la contraseña para continuar.");
        Form4& cancel = t.programa.form4();
        cancel.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(),
                 "Coloca la contraseña para cancelar el aviso que esta programado.");
        QVERIFY(t.programa.loaded<Form4>() && t.programa.loaded<Form9>());
    }

    void actionPromptBringsTheMainWindowBack() {
        TestProgram t;
        complete(t, QStringLiteral("clave"));
        t.programa.form1().cronometro->trigger();
        QVERIFY(t.programa.loaded<Form2>());
        Form1& f = t.programa.form1();
        f.setStateMinimised();
        t.programa.form3().nuevo->click();
        Form9& prompt = t.programa.form9();
        type(prompt.Pass, QStringLiteral("clave"));
        prompt.aceptar->click();
        QVERIFY(f.isVisible() && !f.isMinimized());
        QCOMPARE(f.hh->text(), "1");  // fields exactly as they were
        QCOMPARE(f.mm->text(), "2");
        QCOMPARE(f.ss->text(), "3");
        QCOMPARE(f.Pass->text(), "clave");
        QCOMPARE(f.texto->text(), "texto");
        QVERIFY(!t.programa.loaded<Form2>());
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(!t.programa.loaded<Form9>());
        QVERIFY(!t.programa.ended());
    }

    void actionPromptIgnoresOtherActionsAndItsCloseBox() {
        TestProgram t;
        complete(t, QStringLiteral("clave"));
        t.programa.form3().salir->click();
        // The names are compared exactly: "Salir" is no action at all.
        t.programa.form9().accion = QStringLiteral("Salir");
        type(t.programa.form9().Pass, QStringLiteral("clave"));
        t.programa.form9().aceptar->click();
        QVERIFY(t.programa.loaded<Form9>());
        QVERIFY(t.programa.loaded<Form3>());
        QCOMPARE(t.programa.form9().Pass->text(), "clave");
        QVERIFY(!t.programa.ended());
        QVERIFY(t.fakes.messages.shown.isEmpty());

        // The close box unloads the prompt and nothing else.
        t.programa.form9().close();
        QVERIFY(!t.programa.loaded<Form9>());
        QVERIFY(t.programa.loaded<Form3>() && t.programa.form3().isVisible());
        QVERIFY(!t.programa.ended());
        TestProgram::settle();
        t.programa.form3().aceptar->click();
        QVERIFY(t.programa.form9().accion.isEmpty());
        QVERIFY(t.programa.form9().Pass->text().isEmpty());
    }

    void cancelPromptWindowAndMessages() {
        TestProgram t;
        runProtected(t);
        Form4& prompt = t.programa.form4();
        checkWindow(prompt, 1110);
        prompt.Pass->setText(QStringLiteral("ab"));
        QCOMPARE(prompt.Pass->displayText(), "**");
        prompt.Pass->clear();
        QVERIFY(!prompt.Image1->pixmap().isNull());

        prompt.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(),
                 "Coloca la contraseña para cancelar el aviso que esta programado.");
        QCOMPARE(t.fakes.messages.shown.last().title, "Tempix");
        QCOMPARE(t.fakes.messages.shown.last().icon, MessageIcon::Critical);
        QCOMPARE(prompt.focusWidget(), prompt.Pass);
        type(prompt.Pass, QStringLiteral("CLAVE"));
        prompt.aceptar->setFocus();
        prompt.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(), "La contraseña es Incorrecta.");
        QCOMPARE(t.fakes.messages.shown.last().title, "Tempix");
        QCOMPARE(prompt.Pass->text(), "CLAVE");
        QCOMPARE(prompt.focusWidget(), prompt.Pass);
        QVERIFY(t.programa.form1().tmrCronómetro1->isActive());  // the alert runs on

        prompt.Label2->Click();
        QVERIFY(t.programa.form5().isVisible());
        QVERIFY(t.programa.loaded<Form4>());

        // The close box changes nothing either.
        prompt.close();
        QVERIFY(!t.programa.loaded<Form4>());
        QVERIFY(t.programa.form1().tmrCronómetro1->isActive());
        QCOMPARE(t.programa.form1().Pass->text(), "clave");
    }

    void cancelPromptResetsTheMainWindow() {
        TestProgram t;
        runProtected(t);
        Form1& f = t.programa.form1();
        const QString stored = t.fakes.store.get("BlockPass").value();
        QVERIFY(!stored.isEmpty());
        const QStringList writesBefore = t.fakes.store.log;

        Form4& prompt = t.programa.form4();
        type(prompt.Pass, QStringLiteral("clave"));
        QTest::keyClick(prompt.Pass, Qt::Key_Return);  // Enter presses Aceptar
        QVERIFY(!f.tmrCronómetro1->isActive());
        tick(t, 60);  // and stays stopped
        QCOMPARE(f.lblTiempo1->caption(), "00:00:00");
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(f.txtCantidadSegundos1->text().isEmpty());
        QVERIFY(f.Pass->text().isEmpty());
        QVERIFY(!f.Pass->isEnabled());
        QCOMPARE(f.Pass->backColour(), BackColour::Grey);
        QVERIFY(f.texto->text().isEmpty());
        QVERIFY(!f.texto->isEnabled());
        QCOMPARE(f.texto->backColour(), BackColour::Grey);
        QVERIFY(f.contra->isEnabled() && f.habiltext->isEnabled());
        QCOMPARE(f.contra->value(), 1);  // only their enabled state changes
        QCOMPARE(f.habiltext->value(), 1);
        QVERIFY(f.hh->text().isEmpty() && f.mm->text().isEmpty() && f.ss->text().isEmpty());
        QVERIFY(f.hh->isEnabled() && f.mm->isEnabled() && f.ss->isEnabled());
        QVERIFY(f.cmdIniciar1->isEnabled());
        QVERIFY(f.isVisible() && !f.isMinimized());
        QVERIFY(!t.programa.loaded<Form2>());
        QVERIFY(!t.programa.loaded<Form4>());
        QCOMPARE(t.fakes.store.get("BlockPass").value(), stored);  // untouched
        QCOMPARE(t.fakes.store.log, writesBefore);
        QVERIFY(!t.programa.ended());
    }

    void cancelPromptAfterTheAlertRanOut() {
        // The alert may end while the prompt is open; the right password then also takes
        // the alert window away.
        TestProgram t;
        runProtected(t);
        tick(t, 40);
        QVERIFY(t.programa.loaded<Form3>());
        QVERIFY(t.programa.loaded<Form4>());
        Form4& prompt = t.programa.form4();
        type(prompt.Pass, QStringLiteral("clave"));
        prompt.aceptar->click();
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(!t.programa.loaded<Form4>());
        QVERIFY(t.programa.form1().isVisible());
        QVERIFY(t.programa.form1().hh->text().isEmpty());
    }
};

QTEST_MAIN(PromptsTest)
#include "test_prompts.moc"
