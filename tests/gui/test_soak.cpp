// A day of use in simulated time: alerts started, stopped, restarted and completed every few
// minutes, with the stopwatch, the password prompts, the alert window and the screen lock
// opened and closed through their own buttons. Nothing may grow, every completion comes at its
// second, and the sanitizer build checks that nothing leaks. TEMPIX_SOAK_HOURS sets the length
// (a whole day unless told).

#include "alert/form3.h"
#include "app/form1.h"
#include "app/form2.h"
#include "lock/form10.h"
#include "lock/form4.h"
#include "lock/form9.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QApplication>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

namespace {

struct Census {
    qsizetype windows = 0;
    qsizetype objects = 0;
    bool operator==(const Census&) const = default;
};

Census census() {
    Census c;
    const QWidgetList tops = QApplication::topLevelWidgets();
    c.windows = tops.size();
    c.objects = QCoreApplication::instance()->findChildren<QObject*>().size();
    for (QWidget* w : tops) {
        c.objects += 1 + w->findChildren<QObject*>().size();
    }
    return c;
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

    TestProgram* t = nullptr;
    QRandomGenerator random{20261208};
    qint64 nextTick = 0;  // when the timer fires next, on the fake tick counter
    int completions = 0;
    int stops = 0;
    int restarts = 0;
    int locks = 0;
    int answered = 0;  // password windows opened with their own box and button

    Form1& main() { return t->programa.form1(); }

    // Lets `ms` of simulated time pass, firing the timer when it is due (a little late now and
    // then, as a busy machine does).
    void pass(qint64 ms) {
        const qint64 end = t->fakes.ticks.now + ms;
        while (main().tmrCronómetro1->isActive() && nextTick <= end) {
            const qint64 late = random.bounded(0, 200);
            t->fakes.ticks.now = std::max(t->fakes.ticks.now, nextTick + late);
            main().tmrCronómetro1_Timer();
            nextTick = t->fakes.ticks.now + main().tmrCronómetro1->interval();
        }
        t->fakes.ticks.now = std::max(t->fakes.ticks.now, end);
    }

    void start(int seconds, const QString& password) {
        Form1& f = main();
        f.hh->setText(QString());
        f.mm->setText(QString::number(seconds / 60));
        f.ss->setText(QString::number(seconds % 60));
        f.contra->setValue(password.isEmpty() ? 0 : 1);
        f.Pass->setText(password);
        f.cmdIniciar1->click();
        QVERIFY(f.tmrCronómetro1->isActive());
        nextTick = t->fakes.ticks.now + f.tmrCronómetro1->interval();
    }

    // Runs the alert to its end and checks that it ends at its second: the clock reaches 0
    // within n - 1 to n seconds of the start, and the next tick sees it.
    void runToCompletion(int seconds) {
        const qint64 started = t->fakes.ticks.now;
        Form1& f = main();
        int lastShown = seconds;  // the first tick already shows one second less
        while (f.tmrCronómetro1->isActive()) {
            pass(nextTick - t->fakes.ticks.now);  // the next tick, and only that
            if (f.tmrCronómetro1->isActive()) {
                // Every tick shows one second less: none repeated, none skipped.
                const QStringList parts = f.lblTiempo1->caption().split(u':');
                const int shown =
                    parts[0].toInt() * 3600 + parts[1].toInt() * 60 + parts[2].toInt();
                QCOMPARE(shown, lastShown - 1);
                lastShown = shown;
            }
            QVERIFY(t->fakes.ticks.now - started < (seconds + 3) * 1000LL);
        }
        const qint64 elapsed = t->fakes.ticks.now - started;
        QVERIFY2(elapsed >= (seconds - 1) * 1000LL && elapsed <= (seconds + 1) * 1000LL + 200,
                 qPrintable(
                     QStringLiteral("%1 s alert completed after %2 ms").arg(seconds).arg(elapsed)));
        QCOMPARE(lastShown, 1);
        QCOMPARE(f.lblTiempo1->caption(), "00:00:00");
        ++completions;
    }

    // Types the password into a window's Pass box and presses its "Aceptar", when it has them.
    bool answer(QWidget* window, const QString& password) {
        auto* box = window->findChild<QLineEdit*>(QStringLiteral("Pass"));
        auto* ok = window->findChild<QPushButton*>(QStringLiteral("aceptar"));
        if (!box || !ok) {
            return false;
        }
        box->setText(password);
        ok->click();
        ++answered;
        return true;
    }

    // Back to an idle program with only the main and Options windows loaded, whatever a
    // window that is still being finished left open.
    void tidy() {
        Form1& f = main();
        if (f.tmrCronómetro1->isActive()) {
            f.Pass->clear();
            f.DetieneTimer();
        }
        t->programa.unload<Form2>();
        t->programa.unload<Form3>();
        t->programa.unload<Form4>();
        t->programa.unload<Form9>();
        t->programa.unload<Form10>();
        TestProgram::settle();
        QVERIFY(!t->programa.ended());
        QCOMPARE(t->fakes.app.quits, 0);
    }

    // One of the day's uses, chosen by turn.
    void use(int turn) {
        Form7& options = t->programa.form7();
        const int seconds = random.bounded(60, 600);
        const QString password = QStringLiteral("clave%1").arg(turn % 7);
        switch (turn % 6) {
            case 0: {  // a plain alert to its end; the alert window's "Aceptar"
                options.ShowCron->setValue(0);
                start(seconds, QString());
                runToCompletion(seconds);
                QVERIFY(t->programa.loaded<Form3>());
                t->programa.form3().aceptar->click();
                break;
            }
            case 1: {  // with the stopwatch, stopped halfway
                options.ShowCron->setValue(1);
                start(seconds, QString());
                QVERIFY(t->programa.loaded<Form2>());
                pass(seconds * 500);
                main().detener->click();
                QVERIFY(!main().tmrCronómetro1->isActive());
                ++stops;
                break;
            }
            case 2: {  // protected, cancelled through the prompt
                options.ShowCron->setValue(0);
                start(seconds, password);
                pass(seconds * 300);
                main().detener->click();
                QVERIFY(t->programa.loaded<Form4>());
                if (answer(&t->programa.form4(), password)) {
                    QVERIFY(!main().tmrCronómetro1->isActive());
                }
                ++stops;
                break;
            }
            case 3: {  // restarted while running, then to its end; "Nuevo Aviso"
                start(seconds, QString());
                pass(seconds * 400);
                start(seconds, QString());
                ++restarts;
                runToCompletion(seconds);
                t->programa.form3().nuevo->click();
                break;
            }
            case 4: {  // protected to its end: the alert window's way on asks the password
                options.StopSys->setValue(0);
                start(seconds, password);
                runToCompletion(seconds);
                QVERIFY(t->programa.loaded<Form3>());
                t->programa.form3().aceptar->click();
                if (t->programa.loaded<Form9>()) {
                    answer(&t->programa.form9(), password);
                }
                break;
            }
            case 5: {  // protected with the screen lock: closing it is refused, the password opens
                       // it
                options.StopSys->setValue(1);
                start(seconds, password);
                runToCompletion(seconds);
                QVERIFY(t->programa.loaded<Form10>());
                t->programa.form10().close();
                QVERIFY(t->programa.loaded<Form10>());
                if (answer(&t->programa.form10(), password)) {
                    QVERIFY(!t->programa.loaded<Form10>());
                }
                options.StopSys->setValue(0);
                ++locks;
                break;
            }
        }
        tidy();
        pass(random.bounded(60, 300) * 1000LL);  // a few idle minutes
    }

private Q_SLOTS:
    void aDayOfAlerts() {
        const int hours = qEnvironmentVariableIntValue("TEMPIX_SOAK_HOURS") > 0
                              ? qEnvironmentVariableIntValue("TEMPIX_SOAK_HOURS")
                              : 24;
        TestProgram program;
        t = &program;
        program.programa.start();
        const qint64 begin = program.fakes.ticks.now;
        const qint64 end = begin + hours * 3600'000LL;
        int turn = 0;
        // Warm-up: every use once, so that every window has been loaded and unloaded.
        for (; turn < 6; ++turn) {
            use(turn);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
        const Census baseline = census();
        int checkpoints = 0;
        qint64 nextCheckpoint = program.fakes.ticks.now + 3600'000LL;
        while (program.fakes.ticks.now < end) {
            use(turn++);
            if (QTest::currentTestFailed()) {
                return;
            }
            if (program.fakes.ticks.now >= nextCheckpoint) {
                nextCheckpoint += 3600'000LL;
                ++checkpoints;
                // What the fakes recorded is theirs, not the program's.
                program.fakes.tray.calls.clear();
                program.fakes.messages.shown.clear();
                program.fakes.store.log.clear();
                const Census now = census();
                QVERIFY2(now == baseline,
                         qPrintable(QStringLiteral("hour %1: %2 windows, %3 objects; at the "
                                                   "start %4 windows, %5 objects")
                                        .arg((program.fakes.ticks.now - begin) / 3600'000)
                                        .arg(now.windows)
                                        .arg(now.objects)
                                        .arg(baseline.windows)
                                        .arg(baseline.objects)));
            }
        }
        qInfo(
            "%d simulated hours: %d uses, %d completions, %d stops, %d restarts, %d screen "
            "locks, %d passwords typed, %d checkpoints; %lld windows, %lld objects",
            hours, turn, completions, stops, restarts, locks, answered, checkpoints,
            static_cast<long long>(baseline.windows), static_cast<long long>(baseline.objects));
        QVERIFY(checkpoints >= hours - 1);
        t = nullptr;
    }
};

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
