// The screen lock at the end of a protected alert: its window, the centred controls, the two
// messages outside the topmost band, and unlocking.

#include "about/form5.h"
#include "alert/form3.h"
#include "app/form1.h"
#include "common/twips.h"
#include "lock/form10.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QTest>

class LockTest : public QObject {
    Q_OBJECT

    static void tick(TestProgram& t, int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            t.fakes.ticks.advance(1000);
            t.programa.form1().tmrCronómetro1_Timer();
        }
    }

    // A protected 5-second alert run to its end with StopSys on.
    static Form10& lockUp(TestProgram& t, const QString& text = QString()) {
        t.programa.start();
        Form1& f = t.programa.form1();
        t.programa.form7().StopSys->setValue(1);
        f.Pass->setText(QStringLiteral("clave"));
        f.texto->setText(text);
        f.ss->setText(QStringLiteral("5"));
        f.cmdIniciar1->click();
        tick(t, 5);
        return t.programa.form10();
    }

    static void type(TextBox* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

    static QList<QWidget*> controls(Form10& lock) {
        return {lock.Picture2, lock.Mensaje, lock.Label1, lock.Pass,
                lock.aceptar,  lock.Label2,  lock.Label3};
    }

private Q_SLOTS:
    void coversTheScreenAboveEverything() {
        TestProgram t;
        Form10& lock = lockUp(t);
        QVERIFY(!t.programa.loaded<Form3>());
        QVERIFY(lock.isVisible());
        QVERIFY(lock.isOnTop());
        QVERIFY(lock.windowState().testFlag(Qt::WindowFullScreen));
        QVERIFY(lock.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(lock.windowTitle(), "Nodavia Tempix v" TEMPIX_PROJECT_VERSION);
        QCOMPARE(lock.Mensaje->text(), "El Tiempo ha Terminado.");
        QCOMPARE(lock.Mensaje->font().pointSize(), 18);
        QCOMPARE(lock.Label1->text(), "Ingrese su Contraseña");
        QCOMPARE(lock.Label2->text(), "Nodavia 2019");
        QVERIFY(lock.Label3->text().contains(u"nodavia.example"));
        lock.Pass->setText(QStringLiteral("abc"));
        QCOMPARE(lock.Pass->displayText(), "***");
        lock.Pass->clear();
        QVERIFY(!lock.Picture2->pixmap().isNull());
        QCOMPARE(lock.Picture2->size(), twipsSize(1875, 2415));

        // The design's vertical positions.
        QCOMPARE(lock.Picture2->y(), twips(960));
        QCOMPARE(lock.Mensaje->y(), twips(4680));
        QCOMPARE(lock.Label1->y(), twips(6600));
        QCOMPARE(lock.Pass->geometry(),
                 QRect(lock.Pass->x(), twips(6960), twips(2775), lock.Pass->height()));
        QCOMPARE(lock.aceptar->y(), twips(7440));
        QCOMPARE(lock.Label2->y(), twips(8160));
        QCOMPARE(lock.Label3->y(), twips(8400));

        // The background is the tile's blue wherever no control stands.
        const QImage picture = lock.grab().toImage();
        QCOMPARE(picture.pixelColor(2, 2), QColor(42, 84, 126));
        QCOMPARE(picture.pixelColor(lock.width() - 3, lock.height() - 3), QColor(42, 84, 126));

        // Close requests from outside leave it up.
        lock.close();
        QVERIFY(t.programa.loaded<Form10>());
        QVERIFY(lock.isVisible());
        QCOMPARE(&t.programa.form10(), &lock);
    }

    void customTextIsWrappedAndCutAtItsEnd() {
        TestProgram t;
        // Twice the alert window's long text: the lock's box grows with the application font.
        const QString text = kLongAlertText + QLatin1Char(' ') + kLongAlertText;
        Form10& lock = lockUp(t, text);
        QCOMPARE(lock.Mensaje->text(), text);
        QVERIFY(lock.Mensaje->wordWrap());
        QCOMPARE(lock.Mensaje->size(), twipsSize(4935, 1335));  // not enlarged
        QVERIFY(lock.Mensaje->heightForWidth(lock.Mensaje->width()) > lock.Mensaje->height());
        // The first line is drawn whole, from the top of the box.
        const int top = firstLightRow(lock, lock.Mensaje);
        QVERIFY2(top > 0 && top < lock.Mensaje->fontMetrics().height(),
                 qPrintable(QString::number(top)));
    }

    void centresItsControlsAtEveryWidth() {
        TestProgram t;
        Form10& lock = lockUp(t);
        for (int width : {800, 1920}) {
            lock.setWindowState(Qt::WindowNoState);
            lock.resize(width, 900);
            QCoreApplication::processEvents();
            QCOMPARE(lock.width(), width);
            for (QWidget* c : controls(lock)) {
                QCOMPARE(c->x(), (width - c->width()) / 2);
                QVERIFY(c->width() < width);
            }
            QCOMPARE(lock.Pass->y(), twips(6960));
        }
    }

    // A screen lower than the design at this font: the rows close up, in order, on screen.
    void aLowScreenKeepsEveryRowOnIt() {
        TestProgram t;
        Form10& lock = lockUp(t);
        for (int height : {twips(8400), twips(6000), 250}) {
            lock.setWindowState(Qt::WindowNoState);
            lock.resize(800, height);
            QCoreApplication::processEvents();
            int below = lock.Picture2->y();
            for (QWidget* c : controls(lock)) {
                QVERIFY(c->y() >= below);
                below = c->geometry().bottom() + (c == lock.Label2 ? 0 : 1);
            }
            QVERIFY(lock.Label3->geometry().bottom() < height);
            QVERIFY(lock.aceptar->y() > 0);
        }
    }

    void messagesLeaveTheTopmostBand() {
        TestProgram t;
        Form10& lock = lockUp(t);
        QList<bool> onTopWhileShown;
        t.fakes.messages.whileShown = [&](const FakeMessages::Shown&) {
            onTopWhileShown.append(lock.isOnTop());
        };
        lock.aceptar->click();
        QCOMPARE(t.fakes.messages.lastText(), "Coloca la contraseña para continuar.");
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");
        QCOMPARE(t.fakes.messages.shown.last().icon, MessageIcon::Critical);
        QVERIFY(lock.isOnTop());
        QVERIFY(lock.isVisible());
        QCOMPARE(lock.focusWidget(), lock.Pass);

        type(lock.Pass, QStringLiteral("Clave"));    // differs only in case
        QTest::keyClick(lock.Pass, Qt::Key_Return);  // Enter presses Aceptar
        QCOMPARE(t.fakes.messages.lastText(), "La contraseña es Incorrecta.");
        QCOMPARE(lock.Pass->text(), "Clave");
        QCOMPARE(lock.focusWidget(), lock.Pass);
        QVERIFY(lock.isOnTop());
        QVERIFY(lock.windowState().testFlag(Qt::WindowFullScreen));
        QCOMPARE(onTopWhileShown, (QList<bool>{false, false}));
        QVERIFY(t.programa.loaded<Form10>());
    }

    void rightPasswordWithShowStart() {
        TestProgram t;
        Form10& lock = lockUp(t);
        QCOMPARE(t.programa.form7().ShowStart->value(), 1);  // on unless the store says no
        QVERIFY(t.programa.form1().isHidden());
        // The About window comes above the lock; once the lock is gone it is an ordinary
        // window again.
        lock.Label2->Click();
        Form5& about = t.programa.form5();
        QVERIFY(about.isVisible() && about.isOnTop());
        QVERIFY(t.programa.loaded<Form10>());
        type(lock.Pass, QStringLiteral("clave"));
        lock.aceptar->click();
        QVERIFY(!t.programa.loaded<Form10>());
        QVERIFY(about.isVisible());
        QVERIFY(!about.isOnTop());
        QVERIFY(t.programa.form1().isVisible());
        QVERIFY(t.fakes.messages.shown.isEmpty());
        QVERIFY(!t.programa.ended());

        // The next lock starts again from the design state.
        TestProgram::settle();
        Form10& again = t.programa.form10();
        QVERIFY(again.Pass->text().isEmpty());
        QCOMPARE(again.Mensaje->text(), "El Tiempo ha Terminado.");
    }

    // The keyboard and the pointer are held, also after another program let them go; in a
    // Wayland session the system locks the session too; the right password lets go of all.
    void holdsTheDesktop_data() {
        QTest::addColumn<bool>("wayland");
        QTest::newRow("X11") << false;
        QTest::newRow("Wayland") << true;
    }
    void holdsTheDesktop() {
        QFETCH(bool, wayland);
        TestProgram t;
        FakeScreenLock& desktop = t.fakes.screenLock;
        desktop.wayland = wayland;
        desktop.busyFor = 3;  // another program holds the keyboard for a moment
        Form10& lock = lockUp(t);
        QCOMPARE(desktop.sessionLocks, wayland ? 1 : 0);
        QVERIFY(desktop.prepared.contains(&lock));  // on every workspace from the start
        QTRY_VERIFY(desktop.held);
        QTRY_COMPARE(desktop.surfaces, QList<QWidget*>{&lock});
        QVERIFY(desktop.over.isEmpty());
        // The About window it opens may lie over it; the lock comes back from being
        // iconified whatever window of the program is active.
        lock.Label2->Click();
        QTRY_COMPARE(desktop.over, QList<QWidget*>{&t.programa.form5()});
        lock.showMinimized();
        QTRY_VERIFY(lock.isFullScreen() && !lock.isMinimized());
        type(lock.Pass, QStringLiteral("clave"));
        lock.aceptar->click();
        QTest::qWait(500);  // the main window coming up moves the focus
        QVERIFY(!desktop.held);
        QCOMPARE(desktop.sessionLocks, wayland ? 1 : 0);
    }

    void rightPasswordWithoutShowStart() {
        TestProgram t;
        Form10& lock = lockUp(t, QStringLiteral("Reunión"));
        QCOMPARE(lock.Mensaje->text(), "Reunión");
        t.programa.form7().ShowStart->setValue(0);  // asked at the moment of unlocking
        type(lock.Pass, QStringLiteral("clave"));
        lock.aceptar->click();
        QVERIFY(!t.programa.loaded<Form10>());
        QVERIFY(t.programa.form1().isHidden());
        QVERIFY(!t.programa.ended());
    }
};

QTEST_MAIN(LockTest)
#include "test_lock.moc"
