#include "common/numeric.h"

#include <QTest>

#include <limits>

class NumericTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void value_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("word") << "Hoy" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("leading zero") << "07" << 7.0;
        QTest::newRow("leading blank") << " 07" << 7.0;
        QTest::newRow("blank inside") << "1 2" << 12.0;
        QTest::newRow("tab and line feed") << "\t1\n5" << 15.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("plus") << "+5" << 5.0;
        QTest::newRow("sign after blank") << "- 5" << -5.0;
        QTest::newRow("hex") << "&H1F" << 31.0;
        QTest::newRow("hex lower") << "&h1f" << 31.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("hex stops") << "&H1G" << 1.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("exponent sign") << "15e-1" << 1.5;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("fraction") << "1.5" << 1.5;
        QTest::newRow("second point stops") << "1.5.3" << 1.5;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("decimal comma") << "1,5" << 1.5;
        QTest::newRow("one decimal mark") << "1,5.2" << 1.5;
        QTest::newRow("trailing text") << "12abc" << 12.0;
        QTest::newRow("7 p.m.") << "7 p.m." << 7.0;
    }
    void value() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(numericValue(text), value);
    }

    void hugeNumbersStayFinite() {
        QCOMPARE(numericValue(QStringLiteral("9e999")), std::numeric_limits<double>::max());
        QCOMPARE(numericValue(QStringLiteral("-9e999")), -std::numeric_limits<double>::max());
        // Written back and read again, a huge number stays huge instead of turning into 0.
        QVERIFY(numericValue(numberText(numericValue(QStringLiteral("9e999")))) > 1e300);
    }

    void text_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 5400.0 << "5400";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("negative") << -7.0 << "-7";
        QTest::newRow("fraction") << 1.5 << "1.5";
        QTest::newRow("big whole") << 36002439.0 << "36002439";
    }
    void text() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(numberText(value), text);
    }

    void roundsHalvesToEven() {
        QCOMPARE(roundToInt32(0.5).value(), 0);
        QCOMPARE(roundToInt32(1.5).value(), 2);
        QCOMPARE(roundToInt32(2.5).value(), 2);
        QCOMPARE(roundToInt32(-2.5).value(), -2);
        QCOMPARE(roundToInt32(2.6).value(), 3);
        QCOMPARE(roundToInt32(2147483647.0).value(), 2147483647);
        QCOMPARE(roundToInt32(-2147483648.0).value(), -2147483647 - 1);
        QVERIFY(!roundToInt32(2147483647.5).has_value());
        QVERIFY(!roundToInt32(9e9).has_value());
        QVERIFY(!roundToInt32(std::numeric_limits<double>::infinity()).has_value());
    }
};

QTEST_APPLESS_MAIN(NumericTest)
#include "test_numeric.moc"
