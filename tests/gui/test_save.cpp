// Saving the alert on the fake store: what is written, in which order, and a store that
// cannot be written.

#include "app/form1.h"
#include "settings/form7.h"
#include "testprogram.h"

#include <QTest>

namespace {

const QString kFailure = QStringLiteral(
    "No se pudo guardar el aviso: la configuración no se puede escribir. Los datos del aviso "
    "se conservan en la ventana.");

void fill(Form1& f) {
    f.hh->setText(QStringLiteral("1"));
    f.mm->setText(QStringLiteral("02"));
    f.ss->setText(QString());
    f.Pass->setText(QStringLiteral("abc"));
    f.texto->setText(QStringLiteral("hola"));
}

const QStringList kFive = {"hh=1", "mm=02", "ss=", "BlockPass=616263", "TextPerson=hola"};

}  // namespace

class SaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savesTheFiveTextsWhenSaveShutDownIsOff_data() {
        QTest::addColumn<QString>("saveShutDown");  // "<missing>": never stored
        QTest::newRow("never stored") << "<missing>";
        QTest::newRow("0") << "0";
        QTest::newRow("empty") << "";
    }
    void savesTheFiveTextsWhenSaveShutDownIsOff() {
        QFETCH(QString, saveShutDown);
        TestProgram t;
        if (saveShutDown != u"<missing>") {
            t.fakes.store.set(QStringLiteral("SaveShutDown"), saveShutDown);
        }
        Form1& f = t.programa.form1();
        f.habapaga->setValue(1);  // not saved while SaveShutDown is off
        fill(f);
        QVERIFY(f.guardar->isEnabled());
        f.guardar->click();
        QCOMPARE(t.fakes.store.log, kFive);
        QVERIFY(!f.guardar->isEnabled());
        QVERIFY(t.fakes.messages.shown.isEmpty());
    }

    void savesTheShutDownChoicesAfterTheTexts_data() {
        QTest::addColumn<QString>("saveShutDown");
        QTest::addColumn<int>("habapaga");
        QTest::addColumn<QString>("selected");  // "apaga", "reinicia" or ""
        QTest::addColumn<QStringList>("written");
        QTest::newRow("restart") << "1" << 1 << "reinicia"
                                 << QStringList{"ShutState=1", "Shutdown=0", "Restart=-1"};
        QTest::newRow("power off")
            << "1" << 1 << "apaga" << QStringList{"ShutState=1", "Shutdown=-1", "Restart=0"};
        QTest::newRow("neither") << "1" << 0 << ""
                                 << QStringList{"ShutState=0", "Shutdown=0", "Restart=0"};
        QTest::newRow("greyed box")
            << "1" << 2 << "" << QStringList{"ShutState=2", "Shutdown=0", "Restart=0"};
        // Not a number, so the Options box stays unchecked; but neither "0" nor empty.
        QTest::newRow("a word") << "siempre" << 1 << "reinicia"
                                << QStringList{"ShutState=1", "Shutdown=0", "Restart=-1"};
        QTest::newRow("01") << "01" << 0 << ""
                            << QStringList{"ShutState=0", "Shutdown=0", "Restart=0"};
    }
    void savesTheShutDownChoicesAfterTheTexts() {
        QFETCH(QString, saveShutDown);
        QFETCH(int, habapaga);
        QFETCH(QString, selected);
        QFETCH(QStringList, written);
        TestProgram t;
        t.fakes.store.set(QStringLiteral("SaveShutDown"), saveShutDown);
        Form1& f = t.programa.form1();
        f.habapaga->setValue(habapaga);  // deselects both options, empties texto
        fill(f);
        if (selected == u"apaga") {
            f.apaga->setValue(true);
        } else if (selected == u"reinicia") {
            f.reinicia->setValue(true);
        }
        f.guardar->click();
        QCOMPARE(t.fakes.store.log, kFive + written);
        QVERIFY(!f.guardar->isEnabled());
    }

    void textsAreSavedWhateverTheStateOfTheirBoxes() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.Pass->setText(QString());
        f.texto->setText(QStringLiteral("Hora de salir"));
        f.hh->setText(QStringLiteral(" 07 "));
        QVERIFY(!f.texto->isEnabled() && !f.habiltext->isChecked());
        f.Guardando();
        QCOMPARE(t.fakes.store.log,
                 (QStringList{"hh= 07 ", "mm=", "ss=", "BlockPass=", "TextPerson=Hora de salir"}));
        QCOMPARE(t.fakes.store.get(QStringLiteral("BlockPass")), QString());
    }

    void changesAfterASave() {
        TestProgram t;
        Form1& f = t.programa.form1();
        fill(f);
        f.guardar->click();
        QVERIFY(!f.guardar->isEnabled());
        f.apaga->setValue(true);
        QVERIFY(!f.guardar->isEnabled());  // the shut-down choices do not count
        f.habapaga->setValue(1);
        QVERIFY(f.guardar->isEnabled());  // through the emptied texto
        f.guardar->click();
        QVERIFY(!f.guardar->isEnabled());
        f.habapaga->setValue(0);
        f.habiltext->setValue(1);
        f.texto->setFocus();
        QTest::keyClicks(f.texto, QStringLiteral("x"));
        QVERIFY(f.guardar->isEnabled());
    }

    void startingAnAlertSavesItFirstWhileSiempreIsChecked() {
        TestProgram t;
        Form1& f = t.programa.form1();
        QCOMPARE(t.programa.form7().siempre->value(), 1);  // on when never stored
        f.mm->setText(QStringLiteral("10"));
        t.fakes.store.log.clear();
        f.cmdIniciar1->click();
        QVERIFY(f.tmrCronómetro1->isActive());
        QCOMPARE(t.fakes.store.log,
                 (QStringList{"hh=", "mm=10", "ss=", "BlockPass=", "TextPerson="}));
        QVERIFY(!f.guardar->isEnabled());
    }

    void startingAnAlertWithoutSiempreSavesNothing() {
        TestProgram t;
        Form1& f = t.programa.form1();
        t.programa.form7().siempre->setValue(0);
        f.mm->setText(QStringLiteral("10"));
        t.fakes.store.log.clear();
        f.cmdIniciar1->click();
        QVERIFY(f.tmrCronómetro1->isActive());
        QVERIFY(t.fakes.store.log.isEmpty());
        QVERIFY(f.guardar->isEnabled());
    }

    void aStoreThatCannotBeWrittenIsReportedAndKeepsEverything() {
        TestProgram t;
        t.fakes.store.set(QStringLiteral("SaveShutDown"), QStringLiteral("1"));
        t.fakes.store.set(QStringLiteral("hh"), QStringLiteral("5"));
        const auto stored = t.fakes.store.values;
        Form1& f = t.programa.form1();
        fill(f);
        f.habapaga->setValue(1);
        f.reinicia->setValue(true);
        f.texto->setText(QStringLiteral("hola"));
        t.fakes.store.failWrites = true;
        f.guardar->click();

        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.lastText(), kFailure);
        QCOMPARE(t.fakes.messages.shown.last().icon, MessageIcon::Critical);
        QCOMPARE(t.fakes.messages.shown.last().title, "Nodavia Tempix");
        QVERIFY(f.guardar->isEnabled());
        QCOMPARE(t.fakes.store.values, stored);  // not one value of the group
        QCOMPARE(f.hh->text(), "1");
        QCOMPARE(f.mm->text(), "02");
        QCOMPARE(f.Pass->text(), "abc");
        QCOMPARE(f.texto->text(), "hola");
        QCOMPARE(f.habapaga->value(), 1);
        QVERIFY(f.reinicia->value());

        // Once the store can be written again, the same fields are saved.
        t.fakes.store.failWrites = false;
        f.guardar->click();
        QCOMPARE(t.fakes.store.log,
                 (kFive + QStringList{"ShutState=1", "Shutdown=0", "Restart=-1"}));
        QVERIFY(!f.guardar->isEnabled());
    }

    void aFailedSaveAtTheStartIsReportedAndTheAlertStillStarts() {
        TestProgram t;
        Form1& f = t.programa.form1();
        QCOMPARE(t.programa.form7().siempre->value(), 1);
        f.mm->setText(QStringLiteral("10"));
        t.fakes.store.failWrites = true;
        f.cmdIniciar1->click();
        QCOMPARE(t.fakes.messages.shown.size(), 1);
        QCOMPARE(t.fakes.messages.lastText(), kFailure);
        QVERIFY(f.tmrCronómetro1->isActive());
        QCOMPARE(f.txtCantidadSegundos1->text(), "600");
        QVERIFY(f.detener->isEnabled());
        QVERIFY(f.guardar->isEnabled());
        QCOMPARE(f.mm->text(), "10");
        t.fakes.ticks.advance(1000);
        f.tmrCronómetro1_Timer();
        QCOMPARE(f.lblTiempo1->caption(), "00:09:59");
    }

    void thePasswordBoxTakesOnlyCodePageCharacters() {
        TestProgram t;
        Form1& f = t.programa.form1();
        f.show();
        f.contra->setValue(1);
        f.Pass->setFocus();
        // One key press per character, as a keyboard layout delivers them.
        for (QChar c : QString::fromUtf8("a€ñ中b")) {
            QTest::sendKeyEvent(QTest::Click, f.Pass, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(f.Pass->text(), QString::fromUtf8("a€ñb"));
        f.Guardando();
        QCOMPARE(t.fakes.store.get(QStringLiteral("BlockPass")), "6180F162");
    }
};

QTEST_MAIN(SaveTest)
#include "test_save.moc"
