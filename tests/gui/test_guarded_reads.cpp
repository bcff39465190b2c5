// Stored texts read into check boxes, option buttons and text boxes.

#include "fakeplatform.h"
#include "platform/controls.h"
#include "settings/store.h"

#include <QTest>
#include <QWidget>

class GuardedReadsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void intoCheckBox_data() {
        QTest::addColumn<QString>("stored");  // "<missing>": not stored
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("taken");
        QTest::newRow("01 checks") << "01" << 0 << 1 << true;
        QTest::newRow("2 greys") << "2" << 0 << 2 << true;
        QTest::newRow("0 unchecks") << "0" << 1 << 0 << true;
        QTest::newRow("1.5 rounds to 2") << "1.5" << 0 << 2 << true;
        QTest::newRow("3 is refused") << "3" << 1 << 1 << false;
        QTest::newRow("-1 is refused") << "-1" << 1 << 1 << false;
        QTest::newRow("a word is not a number") << "True" << 1 << 1 << false;
        QTest::newRow("empty") << "" << 1 << 1 << false;
        QTest::newRow("missing") << "<missing>" << 1 << 1 << false;
    }
    void intoCheckBox() {
        QFETCH(QString, stored);
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(bool, taken);
        FakeStore store;
        if (stored != u"<missing>") {
            store.set(QStringLiteral("ShutState"), stored);
            store.set(QStringLiteral("SaveShutDown"), stored);
        }
        QWidget parent;
        CheckBox state(QStringLiteral("Habilitar"), &parent);
        CheckBox option(QStringLiteral("Guardar"), &parent);
        state.setValue(before);
        option.setValue(before);
        GuardedReader reader(store);
        QCOMPARE(reader.intoCheck(QStringLiteral("ShutState"), &state), taken);
        QCOMPARE(reader.intoCheck(QStringLiteral("SaveShutDown"), &option), taken);
        QCOMPARE(state.value(), after);
        QCOMPARE(option.value(), after);
    }

    void intoOptionButton_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("after");
        QTest::newRow("-1 selects") << "-1" << false << true;
        QTest::newRow("True selects") << "True" << false << true;
        QTest::newRow("0 deselects") << "0" << true << false;
        QTest::newRow("False deselects") << "False" << true << false;
        QTest::newRow("a word leaves it") << "Apagar" << true << true;
        QTest::newRow("empty leaves it") << "" << false << false;
    }
    void intoOptionButton() {
        QFETCH(QString, stored);
        QFETCH(bool, before);
        QFETCH(bool, after);
        FakeStore store;
        store.set(QStringLiteral("Shutdown"), stored);
        QWidget parent;
        OptionButton apaga(QStringLiteral("Apagar"), &parent);
        OptionButton reinicia(QStringLiteral("Reiniciar"), &parent);
        apaga.setValue(before);
        GuardedReader(store).intoOption(QStringLiteral("Shutdown"), &apaga);
        QCOMPARE(apaga.value(), after);
    }

    void intoTextBoxUnchanged() {
        FakeStore store;
        store.set(QStringLiteral("hh"), QStringLiteral(" 01 "));
        QWidget parent;
        TextBox hh(&parent);
        TextBox mm(&parent);
        mm.setText(QStringLiteral("5"));
        GuardedReader reader(store);
        QVERIFY(reader.intoText(QStringLiteral("hh"), &hh));
        QCOMPARE(hh.text(), " 01 ");
        QVERIFY(!reader.intoText(QStringLiteral("mm"), &mm));
        QCOMPARE(mm.text(), "5");
    }
};

QTEST_MAIN(GuardedReadsTest)
#include "test_guarded_reads.moc"
