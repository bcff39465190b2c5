// The Options window: its load from the store, each box's change handling and what a store
// that cannot be written does to it.

#include "common/twips.h"
#include "schedule/form11.h"
#include "settings/form7.h"
#include "settings/store.h"
#include "testprogram.h"

#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

// The boxes, tab by tab, top to bottom, with their stored value names.
struct Box {
    const char* name;
    const char* value;
    int tab;
};
const Box kBoxes[] = {{"RunAuto", "RunAuto", 0},     {"state", "WindowState", 0},
                      {"RunWin", "RunWin", 0},       {"ShowCron", "ShowCron", 0},
                      {"NoDown", "NoDown", 0},       {"minimiza", "Minimize", 0},
                      {"StopSys", "StopSys", 1},     {"ShowStart", "ShowStart", 1},
                      {"sonido", "Sound", 1},        {"WarnBefore", "WarnBefore", 1},
                      {"siempre", "SaveAllEver", 2}, {"SaveShutDown", "SaveShutDown", 2},
                      {"SavePrec", "SavePrec", 2}};

CheckBox* box(Form7& f, const char* name) {
    return f.findChild<CheckBox*>(QString::fromLatin1(name));
}

QMap<QString, int> states(Form7& f) {
    QMap<QString, int> result;
    for (const Box& b : kBoxes) {
        result[b.name] = box(f, b.name)->value();
    }
    return result;
}

}  // namespace

class OptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void anEmptyStoreShowsTheInitialStatesAndWritesNothing() {
        TestProgram t;
        Form7& f = t.programa.form7();
        QCOMPARE(f.windowTitle(), "Nodavia Tempix v" TEMPIX_PROJECT_VERSION);
        QVERIFY(!f.isVisible());
        QCOMPARE(f.SSTab1->count(), 3);
        QCOMPARE(f.SSTab1->tabText(0), "Inicio del Aviso");
        QCOMPARE(f.SSTab1->tabText(1), "Al Finalizar Aviso");
        QCOMPARE(f.SSTab1->tabText(2), "Guardar");
        QCOMPARE(f.SSTab1->currentIndex(), 2);
        const QMap<QString, int> expected = {
            {"RunAuto", 0},      {"state", 0},    {"RunWin", 0},    {"ShowCron", 0}, {"NoDown", 0},
            {"minimiza", 0},     {"StopSys", 0},  {"ShowStart", 1}, {"sonido", 1},   {"siempre", 1},
            {"SaveShutDown", 0}, {"SavePrec", 0}, {"WarnBefore", 1}};
        QCOMPARE(states(f), expected);
        for (const Box& b : kBoxes) {
            QCOMPARE(box(f, b.name)->isEnabled(), QByteArray(b.name) != "ShowStart");
        }
        QVERIFY(t.fakes.store.log.isEmpty());
        QVERIFY(t.fakes.messages.shown.isEmpty());
        QVERIFY(!t.programa.loaded<Form11>());
    }

    void theBoxesStandInOneColumnPerTab() {
        TestProgram t;
        Form7& f = t.programa.form7();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.size(), twipsSize(6270, 3150));
        QCOMPARE(f.SSTab1->geometry(), twipsRect(1320, 120, 4845, 2895));
        int row[3] = {0, 0, 0};
        for (const Box& b : kBoxes) {
            CheckBox* c = box(f, b.name);
            QCOMPARE(c->parentWidget(), f.SSTab1->widget(b.tab));
            f.SSTab1->setCurrentIndex(b.tab);
            // Left edge and middle of the designed 255-twip row, in the container's terms.
            const QPoint middle = c->mapTo(f.SSTab1, QPoint(0, c->height() / 2));
            QCOMPARE(middle.x(), twips(360));
            QVERIFY2(qAbs(middle.y() - twips(600 + 360 * row[b.tab] + 127.5)) <= 1, b.name);
            // The whole caption at the program's font size.
            QVERIFY2(c->sizeHint().width() <= c->width(), b.name);
            QCOMPARE(c->font().pointSizeF(), f.font().pointSizeF());
            ++row[b.tab];
        }
    }

    void theLoadReadsEveryBoxInItsOrder() {
        TestProgram t;
        const QStringList stored = {"SaveAllEver=0", "Minimize=1",     "Sound=0",     "RunWin=1",
                                    "RunAuto=1",     "WindowState=1",  "StopSys=1",   "ShowCron=1",
                                    "NoDown=1",      "SaveShutDown=1", "ShowStart=0", "SavePrec=1",
                                    "WarnBefore=0"};
        for (const QString& s : stored) {
            t.fakes.store.set(s.section('=', 0, 0), s.section('=', 1));
        }
        t.fakes.paths.executable = "/home/ana/bin";
        Form7& f = t.programa.form7();
        const QStringList expected = {
            "SaveAllEver=0",
            "Minimize=1",
            "Sound=0",
            "RunWin=1",
            "Nodavia Tempix=/home/ana/bin/tempix",
            "RunAuto=1",
            "WindowState=1",
            "StopSys=1",  // ShowStart is already checked: enabled without a write
            "Minimize=0",
            "ShowCron=1",
            "NoDown=1",
            "SaveShutDown=1",
            "ShowStart=0",
            "SavePrec=1"};
        // Read last, after the target-time window's mirror of SavePrec.
        QStringList log = t.fakes.store.log;
        QCOMPARE(log.takeLast(), "WarnBefore=0");
        QCOMPARE(f.WarnBefore->value(), 0);
        QVERIFY(log.size() >= expected.size());
        QCOMPARE(log.mid(0, expected.size()), expected);
        // The target-time window may store the mirrored value again, nothing else.
        for (const QString& more : log.mid(expected.size())) {
            QCOMPARE(more, "SavePrec=1");
        }
        QVERIFY(t.programa.loaded<Form11>());
        QCOMPARE(t.programa.form11().SavePrec2->value(), 1);
        QCOMPARE(f.minimiza->value(), 0);
        QCOMPARE(f.ShowCron->value(), 1);
        QCOMPARE(f.ShowStart->value(), 0);
        QVERIFY(f.ShowStart->isEnabled());
        QVERIFY(t.fakes.messages.shown.isEmpty());
    }

    void storedTextsThatAreNotAStateChangeNothing() {
        TestProgram t;
        for (const char* name : {"SaveAllEver", "Minimize", "Sound", "RunWin"}) {
            t.fakes.store.set(name, "x");
        }
        t.fakes.store.set("NoDown", "3");
        t.fakes.store.set("RunAuto", "0");
        t.fakes.store.set("ShowStart", "1");
        t.fakes.store.set("WindowState", "01");  // a number: checked, and stored as "1"
        Form7& f = t.programa.form7();
        QCOMPARE(f.siempre->value(), 1);
        QCOMPARE(f.sonido->value(), 1);
        QCOMPARE(f.minimiza->value(), 0);
        QCOMPARE(f.NoDown->value(), 0);
        QCOMPARE(f.state->value(), 1);
        QCOMPARE(t.fakes.store.log, QStringList{"WindowState=1"});
    }

    void aGreyedValueShowsGreyedAndIsStoredAsOff_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QStringList>("writes");
        QTest::newRow("siempre") << "SaveAllEver"
                                 << "siempre" << QStringList{"SaveAllEver=0"};
        QTest::newRow("sonido") << "Sound"
                                << "sonido" << QStringList{"Sound=0"};
        QTest::newRow("NoDown") << "NoDown"
                                << "NoDown" << QStringList{"NoDown=0"};
        QTest::newRow("ShowStart") << "ShowStart"
                                   << "ShowStart" << QStringList{"ShowStart=0"};
        QTest::newRow("RunWin") << "RunWin"
                                << "RunWin" << QStringList{"RunWin=0", "-Nodavia Tempix"};
    }
    void aGreyedValueShowsGreyedAndIsStoredAsOff() {
        QFETCH(QString, value);
        QFETCH(QString, boxName);
        QFETCH(QStringList, writes);
        TestProgram t;
        t.fakes.store.set(value, "2");
        t.fakes.store.values[kRunEntry] = "/old/place/tempix";
        Form7& f = t.programa.form7();
        QCOMPARE(box(f, qPrintable(boxName))->value(), 2);
        QCOMPARE(t.fakes.store.log, writes);
        QCOMPARE(t.fakes.store.get(value), "0");
        QVERIFY(t.fakes.messages.shown.isEmpty());
    }

    void aStoredStopwatchClearsAStoredStayOpen() {
        TestProgram t;
        t.fakes.store.set("Minimize", "1");
        t.fakes.store.set("ShowCron", "1");
        Form7& f = t.programa.form7();
        QCOMPARE(f.minimiza->value(), 0);
        QCOMPARE(f.ShowCron->value(), 1);
        QCOMPARE(t.fakes.store.log, (QStringList{"Minimize=1", "Minimize=0", "ShowCron=1"}));
        QCOMPARE(t.fakes.store.get("Minimize"), "0");
    }

    void eachBoxStoresItsOwnValueWhenClicked() {
        TestProgram t;
        Form7& f = t.programa.form7();
        for (const Box& b : kBoxes) {
            const QString name = b.name;
            if (name == "RunWin" || name == "StopSys" || name == "ShowCron" || name == "SavePrec" ||
                name == "ShowStart") {
                continue;  // more than their own value, below
            }
            t.fakes.store.log.clear();
            CheckBox* c = box(f, b.name);
            const int before = c->value();
            c->click();
            QCOMPARE(c->value(), 1 - before);
            QCOMPARE(t.fakes.store.log, QStringList{QString("%1=%2").arg(b.value).arg(1 - before)});
        }
    }

    void lockingDecidesWhetherTheProgramShowsAfterTheLock() {
        TestProgram t;
        Form7& f = t.programa.form7();
        f.StopSys->click();
        QCOMPARE(t.fakes.store.log, QStringList{"StopSys=1"});
        QCOMPARE(f.ShowStart->value(), 1);
        QVERIFY(f.ShowStart->isEnabled());

        f.ShowStart->click();
        f.ShowStart->click();
        f.StopSys->click();
        QCOMPARE(t.fakes.store.log, (QStringList{"StopSys=1", "ShowStart=0", "ShowStart=1",
                                                 "ShowStart=0", "StopSys=0"}));
        QCOMPARE(f.ShowStart->value(), 0);
        QVERIFY(!f.ShowStart->isEnabled());

        // Checked again: ShowStart comes back checked and is stored.
        t.fakes.store.log.clear();
        f.StopSys->click();
        QCOMPARE(t.fakes.store.log, (QStringList{"ShowStart=1", "StopSys=1"}));
    }

    void theStopwatchClearsStayOpenOnEveryClick() {
        TestProgram t;
        Form7& f = t.programa.form7();
        f.minimiza->click();
        f.ShowCron->click();
        QCOMPARE(f.minimiza->value(), 0);
        f.minimiza->click();  // both checked until the next load
        QCOMPARE(f.minimiza->value(), 1);
        f.ShowCron->click();
        QCOMPARE(f.minimiza->value(), 0);
        f.ShowCron->click();  // minimiza already off: ShowCron only
        QCOMPARE(t.fakes.store.log,
                 (QStringList{"Minimize=1", "Minimize=0", "ShowCron=1", "Minimize=1", "Minimize=0",
                              "ShowCron=0", "ShowCron=1"}));
    }

    void rememberingTargetTimesMirrorsTheTargetTimeWindow() {
        TestProgram t;
        Form7& f = t.programa.form7();
        f.SavePrec->click();
        QCOMPARE(t.fakes.store.log.value(0), "SavePrec=1");
        QCOMPARE(t.programa.form11().SavePrec2->value(), 1);
        f.SavePrec->click();
        QCOMPARE(t.programa.form11().SavePrec2->value(), 0);
        QCOMPARE(t.fakes.store.get("SavePrec"), "0");
        QCOMPARE(f.SavePrec->value(), 0);
    }

    void startingWithTheSessionWritesAndRemovesTheEntry() {
        TestProgram t;
        t.fakes.paths.program = "/usr/share/nodavia-tempix";
        t.fakes.paths.executable = "/usr/bin";
        Form7& f = t.programa.form7();
        f.RunWin->click();
        QCOMPARE(t.fakes.store.log, (QStringList{"RunWin=1", "Nodavia Tempix=/usr/bin/tempix"}));
        QCOMPARE(t.fakes.store.values.value(kRunEntry), "/usr/bin/tempix");
        f.RunWin->click();
        QCOMPARE(t.fakes.store.log.mid(2), (QStringList{"RunWin=0", "-Nodavia Tempix"}));
        QVERIFY(!t.fakes.store.values.contains(kRunEntry));
        QVERIFY(t.fakes.messages.shown.isEmpty());
    }

    // A program folder whose name is not valid UTF-8 cannot be named in the entry: refused
    // with a message instead of an entry that runs "/tempix".
    void aFolderNameThatIsNoTextIsRefused() {
        TestProgram t;
        t.fakes.paths.executable = QString();
        Form7& f = t.programa.form7();
        f.RunWin->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QVERIFY(t.fakes.messages.lastText().contains("UTF-8"));
        QCOMPARE(t.fakes.messages.shown[0].title, "Nodavia Tempix");
        QVERIFY(!t.fakes.store.values.contains(kRunEntry));
    }

    void closingAndOpeningAgainShowsTheSameStates() {
        TestProgram t;
        Form7& f = t.programa.form7();
        f.show();
        f.StopSys->click();
        f.sonido->click();
        f.NoDown->click();
        f.SaveShutDown->click();
        f.minimiza->click();
        const QMap<QString, int> before = states(f);
        QPointer<Form7> old = &f;
        f.close();
        QVERIFY(!t.programa.loaded<Form7>());
        TestProgram::settle();
        QVERIFY(old.isNull());

        Form7& again = t.programa.form7();
        QCOMPARE(states(again), before);
        QVERIFY(again.ShowStart->isEnabled());
        QCOMPARE(again.SSTab1->currentIndex(), 2);
    }

    void aStoreThatCannotBeWrittenIsReportedAndTheBoxesKeepTheirStates() {
        TestProgram t;
        Form7& f = t.programa.form7();
        t.fakes.store.failWrites = true;
        f.sonido->click();
        QCOMPARE(f.sonido->value(), 0);
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.shown[0].icon, MessageIcon::Critical);
        QCOMPARE(t.fakes.messages.shown[0].title, "Nodavia Tempix");
        QVERIFY(!t.fakes.store.get("Sound"));

        // A change and what it causes fail together: one box.
        f.StopSys->click();
        QCOMPARE(t.fakes.messages.shown.size(), 2);
        f.StopSys->click();
        QCOMPARE(t.fakes.messages.shown.size(), 3);
        QCOMPARE(f.StopSys->value(), 0);
        QCOMPARE(f.ShowStart->value(), 0);

        // Neither the flag nor the entry can be written: one box, and the box stays checked.
        f.RunWin->click();
        QCOMPARE(t.fakes.messages.shown.size(), 4);
        QCOMPARE(f.RunWin->value(), 1);
        QVERIFY(t.fakes.store.log.isEmpty());

        // With no entry to remove, unchecking has reached its aim: nothing to report.
        t.fakes.store.failWrites = false;
        f.RunWin->click();
        QCOMPARE(t.fakes.messages.shown.size(), 4);
        QCOMPARE(t.fakes.store.log, QStringList{"RunWin=0"});
        QCOMPARE(f.RunWin->value(), 0);
        // An entry that is there and cannot be removed is reported.
        f.RunWin->click();
        t.fakes.store.failRemoves = true;
        f.RunWin->click();
        QCOMPARE(t.fakes.messages.shown.size(), 5);
        QVERIFY(t.fakes.messages.shown[4].text.contains("inicio"));
        QVERIFY(t.fakes.store.read(kRunEntry));
    }

    void aLoadRewritingWhatTheStoreHoldsReportsNothing() {
        // Boxes set from a read-only store write back what it holds; an entry to remove is
        // not there. Nothing is lost, so nothing is said.
        TestProgram t;
        t.fakes.store.set("SaveAllEver", "0");
        t.fakes.store.set("RunWin", "2");
        t.fakes.store.set("SavePrec", "1");
        t.fakes.store.failWrites = true;
        Form7& f = t.programa.form7();
        QCOMPARE(f.siempre->value(), 0);
        QCOMPARE(f.RunWin->value(), 2);
        QCOMPARE(t.programa.form11().SavePrec2->value(), 1);
        QVERIFY2(t.fakes.messages.shown.isEmpty(), qPrintable(t.fakes.messages.lastText()));
        // A change of the user's that cannot be stored is still reported, once.
        t.programa.form11().SavePrec2->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
    }

    void aLoadThatCannotStoreIsReportedOnce() {
        TestProgram t;
        t.fakes.store.set("SaveAllEver", "0");
        t.fakes.store.set("Minimize", "1");
        t.fakes.store.set("RunWin", "2");
        t.fakes.store.set("NoDown", "1");
        t.fakes.store.set("ShowCron", "1");
        t.fakes.store.failWrites = true;
        t.fakes.store.failRemoves = true;
        Form7& f = t.programa.form7();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.shown[0].title, "Nodavia Tempix");
        QCOMPARE(f.siempre->value(), 0);
        QCOMPARE(f.RunWin->value(), 2);
        QCOMPARE(f.NoDown->value(), 1);
        QCOMPARE(f.ShowCron->value(), 1);
        QCOMPARE(f.minimiza->value(), 0);
        QCOMPARE(t.fakes.store.get("Minimize"), "1");  // nothing was lost either
    }
};

QTEST_MAIN(OptionsTest)
#include "test_options.moc"
