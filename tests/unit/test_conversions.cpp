// The table of stored values and the conversions of their texts on reading.

#include "fakeplatform.h"
#include "settings/store.h"

#include <QSet>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

class ConversionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wholeNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");  // -99: does not convert
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("2") << "2" << 2;
        QTest::newRow("leading zero") << "01" << 1;
        QTest::newRow("blanks around") << " 01 " << 1;
        QTest::newRow("half rounds to even, up") << "1.5" << 2;
        QTest::newRow("half rounds to even, down") << "2.5" << 2;
        QTest::newRow("below a half") << "0.4" << 0;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("plus sign") << "+2" << 2;
        QTest::newRow("exponent") << "1e1" << 10;
        QTest::newRow("hexadecimal") << "&H1" << 1;
        QTest::newRow("16-bit hexadecimal") << "&HFFFF" << -1;
        QTest::newRow("octal") << "&o17" << 15;
        QTest::newRow("largest") << "32767" << 32767;
        QTest::newRow("smallest") << "-32768" << -32768;
        QTest::newRow("too large") << "32768" << -99;
        QTest::newRow("letters") << "abc" << -99;
        QTest::newRow("empty") << "" << -99;
        QTest::newRow("blank") << "  " << -99;
        QTest::newRow("number then letters") << "1a" << -99;
        QTest::newRow("blank inside") << "1 2" << -99;
        QTest::newRow("group separator") << "1,5" << -99;
        QTest::newRow("word") << "True" << -99;
        QTest::newRow("bare prefix") << "&H" << -99;
        QTest::newRow("bad hexadecimal digit") << "&HG" << -99;
        QTest::newRow("C prefix") << "0x10" << -99;
    }
    void wholeNumbers() {
        QFETCH(QString, text);
        QFETCH(int, value);
        const auto converted = toWholeNumber(text);
        if (value == -99) {
            QCOMPARE(converted, std::nullopt);
        } else {
            QCOMPARE(converted, value);
        }
    }

    void booleans_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");  // 0 false, 1 true, -99 does not convert
        QTest::newRow("selected") << "-1" << 1;
        QTest::newRow("not selected") << "0" << 0;
        QTest::newRow("one") << "1" << 1;
        QTest::newRow("any number") << "2.5" << 1;
        QTest::newRow("zero with blanks") << " 0 " << 0;
        QTest::newRow("zero as a fraction") << "0.0" << 0;
        QTest::newRow("True") << "True" << 1;
        QTest::newRow("False") << "False" << 0;
        QTest::newRow("true, any case") << "tRUE" << 1;
        QTest::newRow("FALSE") << "FALSE" << 0;
        QTest::newRow("other word") << "yes" << -99;
        QTest::newRow("empty") << "" << -99;
    }
    void booleans() {
        QFETCH(QString, text);
        QFETCH(int, value);
        const auto converted = toBoolean(text);
        if (value == -99) {
            QCOMPARE(converted, std::nullopt);
        } else {
            QCOMPARE(converted, value == 1);
        }
    }

    void exactTests_data() {
        QTest::addColumn<QString>("stored");  // "<missing>": not stored
        QTest::addColumn<bool>("one");
        QTest::addColumn<bool>("saveShutDown");
        QTest::newRow("missing") << "<missing>" << false << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("0") << "0" << false << false;
        QTest::newRow("1") << "1" << true << true;
        // "01" is a checked box for the Options window, but not "1".
        QTest::newRow("01") << "01" << false << true;
        QTest::newRow("00") << "00" << false << true;
        QTest::newRow("blank") << " " << false << true;
        QTest::newRow("a word") << "siempre" << false << true;
    }
    void exactTests() {
        QFETCH(QString, stored);
        QFETCH(bool, one);
        QFETCH(bool, saveShutDown);
        FakeStore store;
        if (stored != u"<missing>") {
            store.set(QStringLiteral("WindowState"), stored);
            store.set(QStringLiteral("SaveShutDown"), stored);
        }
        GuardedReader reader(store);
        QCOMPARE(reader.exactlyOne(QStringLiteral("WindowState")), one);
        QCOMPARE(reader.neitherZeroNorEmpty(QStringLiteral("SaveShutDown")), saveShutDown);
    }

    void theTableHoldsEveryValueOnce() {
        QSet<QString> names;
        for (const StoredValue& v : kStoredValues) {
            names.insert(v.name.toString());
            QCOMPARE(storedValue(v.name), &v);
        }
        QCOMPARE(names.size(), 25);
        QCOMPARE(int(std::size(kStoredValues)), 25);
        int flags = 0;
        for (const StoredValue& v : kStoredValues) {
            flags += v.form == ValueForm::Flag;
        }
        QCOMPARE(flags, 13);
        QCOMPARE(storedValue(u"ShutState")->form, ValueForm::CheckState);
        QCOMPARE(storedValue(u"Restart")->form, ValueForm::Boolean);
        QCOMPARE(storedValue(u"SaveAllEver")->whenMissing, WhenMissing::On);
        QCOMPARE(storedValue(u"ShowStart")->whenMissing, WhenMissing::On);
        QCOMPARE(storedValue(u"Sound")->whenMissing, WhenMissing::On);
        QCOMPARE(storedValue(u"WarnBefore")->whenMissing, WhenMissing::On);
        QCOMPARE(storedValue(u"WindowStat"), nullptr);
        QCOMPARE(storedValue(u"windowstate"), nullptr);  // names are spelt exactly
        QCOMPARE(userValue(QStringLiteral("hh")),
                 "HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\hh");
    }

    void aMisspeltNameStopsADebugBuild() {
#ifdef QT_NO_DEBUG
        QSKIP("the check is a debug-build assertion");
#else
        const pid_t child = fork();
        if (child == 0) {
            ::close(STDERR_FILENO);  // the assertion's message is expected
            userValue(QStringLiteral("WindowStat"));
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGABRT);
#endif
    }
};

QTEST_GUILESS_MAIN(ConversionsTest)
#include "test_conversions.moc"
