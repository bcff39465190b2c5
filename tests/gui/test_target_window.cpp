// The target-time window: what it shows at load, remembering the last choices, its mirror of
// the Options box SavePrec, and "Aceptar" writing the main window's time fields.

#include "about/form5.h"
#include "app/form1.h"
#include "schedule/form11.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

namespace {

QStringList items(const QComboBox* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i) {
        all.append(list->itemText(i));
    }
    return all;
}

// What the four lists show, day first.
QStringList shown(const Form11& f) {
    return {f.dias->currentText(), f.horas->currentText(), f.minutos->currentText(),
            f.merid->currentText()};
}

void setClock(TestProgram& t, int hour, int minute, int second = 0) {
    t.fakes.clock.current.setTime(QTime(hour, minute, second));
}

void typeInto(QComboBox* list, const QString& text) {
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), text);
}

void choose(Form11& f, const QStringList& entries) {
    f.dias->setCurrentText(entries[0]);
    f.horas->setCurrentText(entries[1]);
    f.minutos->setCurrentText(entries[2]);
    f.merid->setCurrentText(entries[3]);
}

const QString kHourMessage = QStringLiteral("Coloca o Selecciona un valor entre 0 y 12 en Horas");
const QString kMinuteMessage = QStringLiteral("Coloca o Selecciona un valor entre 0 y 59 en Horas");

}  // namespace

class TargetWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstUsePresetsTheListsFromTheClock_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QStringList>("lists");
        QTest::addColumn<QString>("horamilitar");
        QTest::newRow("00:30 shows 12 A.M.")
            << QTime(0, 30, 7) << QStringList{"Hoy", "12", "30", "A.M."} << "12:30:07 a.m.";
        QTest::newRow("15:45 shows 03 P.M.")
            << QTime(15, 45, 10) << QStringList{"Hoy", "03", "45", "P.M."} << "03:45:10 p.m.";
        QTest::newRow("noon keeps A.M.")
            << QTime(12, 5, 0) << QStringList{"Hoy", "12", "05", "A.M."} << "12:05:00 p.m.";
        QTest::newRow("morning") << QTime(9, 0, 59) << QStringList{"Hoy", "09", "00", "A.M."}
                                 << "09:00:59 a.m.";
    }
    void firstUsePresetsTheListsFromTheClock() {
        QFETCH(QTime, now);
        QFETCH(QStringList, lists);
        QFETCH(QString, horamilitar);
        // The preset does not depend on the locale's way of writing the time.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        TestProgram t;
        t.fakes.clock.current.setTime(now);
        t.programa.form1().Command1->click();
        Form11& f = t.programa.form11();
        QVERIFY(f.isVisible());
        QCOMPARE(f.windowTitle(), "Nodavia Tempix v" TEMPIX_PROJECT_VERSION);
        QCOMPARE(shown(f), lists);
        QCOMPARE(f.horamilitar, horamilitar);
        QCOMPARE(f.horactual, now.toString(QStringLiteral("HH:mm")) + QStringLiteral(":00"));
        QCOMPARE(f.SavePrec2->value(), 0);
        QVERIFY(t.fakes.store.log.isEmpty());
        QVERIFY(t.fakes.messages.shown.isEmpty());
        QLocale::setDefault(QLocale::c());
    }

    void controlsAsDesigned() {
        TestProgram t;
        Form11& f = t.programa.form11();
        QVERIFY(!f.isVisible());  // referring to it loads it hidden
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QCOMPARE(items(f.dias),
                 (QStringList{"Hoy", "01", "02", "03", "04", "05", "06", "07", "08", "09", "10"}));
        QCOMPARE(f.horas->count(), 13);
        QCOMPARE(f.horas->itemText(12), "12");
        QCOMPARE(f.minutos->count(), 61);
        QCOMPARE(f.minutos->itemText(59), "59");
        QCOMPARE(f.minutos->itemText(60), "00");
        QCOMPARE(items(f.merid), (QStringList{"A.M.", "P.M."}));
        QCOMPARE(f.convertir->text(), "Aceptar");
        QCOMPARE(f.SavePrec2->text(), "Recordar configuracion");
        QCOMPARE(f.Label14->text(), "Nodavia 2019");
        QCOMPARE(f.Label2->font().pointSizeF(), 13.5);
        QVERIFY(f.Label2->font().bold());
        QVERIFY(!f.Image1->pixmap().isNull());
        for (const char* name : {"Label4", "Label8", "Label1", "Label3", "dias", "horas", "minutos",
                                 "merid", "convertir", "SavePrec2", "Label14"}) {
            QWidget* w = f.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(w, name);
            QVERIFY2(f.rect().contains(w->geometry()), name);
        }
    }

    void listsTakeTextsAsGiven() {
        TestProgram t;
        setClock(t, 10, 20);
        Form11& f = t.programa.form11();
        f.show();
        // Longer than a line edit takes by default.
        const QString longText(40000, u'7');
        f.dias->setCurrentText(longText);
        QCOMPARE(f.dias->currentText().size(), longText.size());
        // Typed text is not completed to an entry nor corrected in case, also when the focus
        // leaves and Enter is pressed; "p.m." is not "P.M.", so the hour stays in the morning.
        f.merid->setFocus();
        typeInto(f.merid, QStringLiteral("p.m."));
        QTest::keyClick(f.merid->lineEdit(), Qt::Key_Return);
        f.horas->setFocus();
        typeInto(f.horas, QStringLiteral("1"));
        f.dias->setFocus();
        typeInto(f.dias, QStringLiteral("h"));
        f.minutos->setFocus();
        QCOMPARE(shown(f), (QStringList{"h", "1", "20", "p.m."}));
        QCOMPARE(f.merid->count(), 2);
        f.convertir->click();
        QCOMPARE(t.programa.form1().hh->text(), "0");
        QCOMPARE(t.programa.form1().mm->text(), "0");
    }

    void storedChoicesOnlyWhileRemembering_data() {
        QTest::addColumn<QString>("savePrec");
        QTest::addColumn<QStringList>("lists");
        QTest::addColumn<int>("box");
        QTest::newRow("remembering") << "1" << QStringList{"03", "07", "15", "P.M."} << 1;
        QTest::newRow("not remembering") << "0" << QStringList{"Hoy", "10", "20", "A.M."} << 0;
        QTest::newRow("greyed is not remembering")
            << "2" << QStringList{"Hoy", "10", "20", "A.M."} << 0;
        QTest::newRow("unreadable is not remembering")
            << "sí" << QStringList{"Hoy", "10", "20", "A.M."} << 0;
    }
    void storedChoicesOnlyWhileRemembering() {
        QFETCH(QString, savePrec);
        QFETCH(QStringList, lists);
        QFETCH(int, box);
        TestProgram t;
        setClock(t, 10, 20);
        t.fakes.store.set("ddd", "03");
        t.fakes.store.set("hhh", "07");
        t.fakes.store.set("mmm", "15");
        t.fakes.store.set("ampm", "P.M.");
        t.fakes.store.set("SavePrec", savePrec);
        Form11& f = t.programa.form11();
        QCOMPARE(shown(f), lists);
        QCOMPARE(f.SavePrec2->value(), box);
        QCOMPARE(t.programa.form7().SavePrec->value() == 1, box == 1);
    }

    void storedHourReplacesThePresetWhenTheDayIsMissing_data() {
        QTest::addColumn<bool>("emptyDay");
        QTest::newRow("no ddd") << false;
        QTest::newRow("empty ddd") << true;
    }
    void storedHourReplacesThePresetWhenTheDayIsMissing() {
        QFETCH(bool, emptyDay);
        TestProgram t;
        setClock(t, 15, 45);
        if (emptyDay) {
            t.fakes.store.set("ddd", "");
        }
        t.fakes.store.set("hhh", "08");
        t.fakes.store.set("SavePrec", "1");
        Form11& f = t.programa.form11();
        QCOMPARE(shown(f), (QStringList{emptyDay ? "" : "Hoy", "08", "45", "P.M."}));
        QCOMPARE(f.SavePrec2->value(), 1);
    }

    void rememberBoxesMirrorEachOther() {
        TestProgram t;
        Form11& f = t.programa.form11();
        Form7& options = t.programa.form7();
        QVERIFY(t.fakes.store.log.isEmpty());

        // One write from each box's handling, then the exchange stops.
        f.SavePrec2->click();
        QCOMPARE(options.SavePrec->value(), 1);
        QCOMPARE(t.fakes.store.log, (QStringList{"SavePrec=1", "SavePrec=1"}));
        t.fakes.store.log.clear();
        f.SavePrec2->click();
        QCOMPARE(options.SavePrec->value(), 0);
        QCOMPARE(t.fakes.store.log, (QStringList{"SavePrec=0", "SavePrec=0"}));

        t.fakes.store.log.clear();
        options.SavePrec->click();
        QCOMPARE(f.SavePrec2->value(), 1);
        QCOMPARE(t.fakes.store.log, (QStringList{"SavePrec=1", "SavePrec=1"}));
        t.fakes.store.log.clear();
        options.SavePrec->click();
        QCOMPARE(f.SavePrec2->value(), 0);
        QCOMPARE(t.fakes.store.log, (QStringList{"SavePrec=0", "SavePrec=0"}));
        QVERIFY(t.fakes.messages.shown.isEmpty());

        // Set by the program to a state other than checked, it stores "0".
        options.SavePrec->setValue(1);
        t.fakes.store.log.clear();
        f.SavePrec2->setValue(2);
        QCOMPARE(options.SavePrec->value(), 0);
        QCOMPARE(t.fakes.store.get("SavePrec"), "0");
        QVERIFY(!t.fakes.store.log.contains("SavePrec=1"));
    }

    void aFailedRememberWriteIsReportedOnce() {
        TestProgram t;
        Form11& f = t.programa.form11();
        t.fakes.store.failWrites = true;
        f.SavePrec2->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.shown[0].icon, MessageIcon::Critical);
        QCOMPARE(t.fakes.messages.shown[0].title, "Nodavia Tempix");
        // The boxes still show the choice.
        QCOMPARE(f.SavePrec2->value(), 1);
        QCOMPARE(t.programa.form7().SavePrec->value(), 1);
    }

    void theOptionsWindowMayLoadItHidden() {
        TestProgram t;
        setClock(t, 10, 20);
        t.programa.form7().SavePrec->click();
        QVERIFY(t.programa.loaded<Form11>());
        QVERIFY(!t.programa.form11().isVisible());
        QCOMPARE(t.programa.form11().SavePrec2->value(), 1);
        // "Calcular" later only shows it: the preset is the one of its load.
        setClock(t, 15, 45);
        t.programa.form1().Command1->click();
        QVERIFY(t.programa.form11().isVisible());
        QCOMPARE(shown(t.programa.form11()), (QStringList{"Hoy", "10", "20", "A.M."}));
    }

    void acceptWritesTheTimeFieldsAndUnloads_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("hh");
        QTest::addColumn<QString>("mm");
        QTest::newRow("tomorrow afternoon")
            << QTime(10, 20, 30) << QStringList{"01", "03", "45", "P.M."} << "29"
            << "25";
        QTest::newRow("already passed")
            << QTime(10, 20) << QStringList{"Hoy", "10", "05", "A.M."} << "0"
            << "0";
        QTest::newRow("seconds dropped")
            << QTime(10, 20, 50) << QStringList{"Hoy", "10", "30", "A.M."} << "0"
            << "10";
        QTest::newRow("a day and a half")
            << QTime(10, 20) << QStringList{"1.5", "10", "20", "A.M."} << "36"
            << "0";
        QTest::newRow("fractions written with a point")
            << QTime(10, 20) << QStringList{"Hoy", "11.5", "20.25", "A.M."} << "1.5"
            << "0.25";
        QTest::newRow("not a number is 0")
            << QTime(10, 20) << QStringList{"pasado", "7 p.m.", "x", "P.M."} << "8"
            << "40";
    }
    void acceptWritesTheTimeFieldsAndUnloads() {
        QFETCH(QTime, now);
        QFETCH(QStringList, entries);
        QFETCH(QString, hh);
        QFETCH(QString, mm);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        TestProgram t;
        t.fakes.clock.current.setTime(now);
        Form1& main = t.programa.form1();
        main.cmdIniciar1->setEnabled(false);
        main.guardar->setEnabled(false);
        main.ss->setText(QStringLiteral("5"));
        main.Command1->click();
        Form11& f = t.programa.form11();
        choose(f, entries);
        f.convertir->click();
        QCOMPARE(main.hh->text(), hh);
        QCOMPARE(main.mm->text(), mm);
        QCOMPARE(main.ss->text(), "0");
        // Their change handling ran.
        QVERIFY(main.cmdIniciar1->isEnabled());
        QVERIFY(main.guardar->isEnabled());
        QVERIFY(!t.programa.loaded<Form11>());
        TestProgram::settle();
        QVERIFY(!t.programa.loaded<Form11>());
        QVERIFY(t.fakes.messages.shown.isEmpty());
        // Not remembering: nothing stored.
        QVERIFY(t.fakes.store.log.isEmpty());
        QVERIFY(!main.tmrCronómetro1->isActive());
        QLocale::setDefault(QLocale::c());
    }

    void refusedEntriesKeepTheWindowAndAreStoredWhenRemembering_data() {
        QTest::addColumn<QString>("savePrec");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("message");
        QTest::newRow("hour 12.5")
            << "1" << QStringList{"02", "12.5", "00", "P.M."} << kHourMessage;
        QTest::newRow("minute 60")
            << "1" << QStringList{"Hoy", "05", "60", "A.M."} << kMinuteMessage;
        QTest::newRow("both wrong: the hour")
            << "1" << QStringList{"Hoy", "13", "60", "A.M."} << kHourMessage;
        QTest::newRow("not remembering")
            << "0" << QStringList{"Hoy", "-1", "00", "A.M."} << kHourMessage;
    }
    void refusedEntriesKeepTheWindowAndAreStoredWhenRemembering() {
        QFETCH(QString, savePrec);
        QFETCH(QStringList, entries);
        QFETCH(QString, message);
        TestProgram t;
        t.fakes.store.set("SavePrec", savePrec);
        Form1& main = t.programa.form1();
        main.hh->setText(QStringLiteral("4"));
        Form11& f = t.programa.form11();
        choose(f, entries);
        t.fakes.store.log.clear();
        f.convertir->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.shown[0].text, message);
        QCOMPARE(t.fakes.messages.shown[0].icon, MessageIcon::Information);
        QCOMPARE(t.fakes.messages.shown[0].title, "Nodavia Tempix");
        TestProgram::settle();
        QVERIFY(t.programa.loaded<Form11>());
        QCOMPARE(shown(t.programa.form11()), entries);
        QCOMPARE(main.hh->text(), "4");
        if (savePrec == u"1") {
            QCOMPARE(t.fakes.store.log, (QStringList{"ddd=" + entries[0], "hhh=" + entries[1],
                                                     "mmm=" + entries[2], "ampm=" + entries[3]}));
        } else {
            QVERIFY(t.fakes.store.log.isEmpty());
        }
    }

    void rememberedChoicesComeBackNextTime() {
        TestProgram t;
        setClock(t, 10, 20);
        t.programa.form11().SavePrec2->click();
        choose(t.programa.form11(), {"02", "09", "05", "P.M."});
        t.programa.form11().convertir->click();
        QCOMPARE(t.programa.form1().hh->text(), "58");
        TestProgram::settle();
        setClock(t, 18, 0);
        t.programa.form1().Command1->click();
        QCOMPARE(shown(t.programa.form11()), (QStringList{"02", "09", "05", "P.M."}));
    }

    void aFailedStoreOnAcceptIsReportedAndTheCalculationGoesOn() {
        TestProgram t;
        setClock(t, 10, 20);
        t.fakes.store.set("SavePrec", "1");
        Form11& f = t.programa.form11();
        t.fakes.store.failWrites = true;
        choose(f, {"Hoy", "11", "00", "A.M."});
        f.convertir->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.shown[0].icon, MessageIcon::Critical);
        QCOMPARE(t.programa.form1().mm->text(), "40");
        QVERIFY(!t.programa.loaded<Form11>());
    }

    void aHugeDayIsWrittenAndTheStartRefusesIt() {
        TestProgram t;
        setClock(t, 10, 20);
        Form1& main = t.programa.form1();
        main.Command1->click();
        Form11& f = t.programa.form11();
        f.dias->setFocus();
        typeInto(f.dias, QStringLiteral("9e99"));
        f.convertir->click();
        TestProgram::settle();
        QVERIFY(!t.programa.loaded<Form11>());
        QVERIFY(main.hh->text().size() > 3);
        main.cmdIniciar1->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QVERIFY(t.fakes.messages.lastText().contains("demasiado largo"));
        QCOMPARE(t.fakes.messages.shown[0].icon, MessageIcon::Critical);
        QVERIFY(!main.tmrCronómetro1->isActive());
        QVERIFY(main.hh->text().size() > 3);  // nothing lost
    }

    void theSignatureOpensTheAboutWindow() {
        TestProgram t;
        Form11& f = t.programa.form11();
        f.show();
        QTest::mouseClick(f.Label14, Qt::LeftButton);
        QVERIFY(t.programa.loaded<Form5>());
        QVERIFY(t.programa.form5().isVisible());
        QVERIFY(!t.programa.form5().isModal());
        QVERIFY(f.isVisible());
    }
};

QTEST_MAIN(TargetWindowTest)
#include "test_target_window.moc"
