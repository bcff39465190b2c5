// The stored password's encoding.

#include "lock/codec.h"

#include <QTest>

class CodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void encodesAndDecodes_data() {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("letters") << "abc"
                                 << "616263";
        QTest::newRow("capital differs") << "Abc"
                                         << "416263";
        QTest::newRow("tab keeps its zero") << "\t"
                                            << "09";
        QTest::newRow("multiple of 16") << "0"
                                        << "30";
        QTest::newRow("code 160") << QString(QChar(0xA0)) << "A0";
        QTest::newRow("Spanish") << QString::fromUtf8("Año") << "41F16F";
        QTest::newRow("euro is 128") << QString::fromUtf8("€") << "80";
        QTest::newRow("Y diaeresis is 159") << QString::fromUtf8("Ÿ") << "9F";
        QTest::newRow("code 255") << QString::fromUtf8("ÿ") << "FF";
        QTest::newRow("order kept") << "ba"
                                    << "6261";
    }
    void encodesAndDecodes() {
        QFETCH(QString, plain);
        QFETCH(QString, encoded);
        QCOMPARE(CodificaPass(plain), encoded);
        QCOMPARE(DecodificaPass(encoded), plain);
    }

    void decodingFollowsTheDigitRules_data() {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QString>("plain");
        // Lower-case letters count as their code minus 55: "a" is 42.
        QTest::newRow("lower-case second digit") << "4a"
                                                 << "j";
        QTest::newRow("lower-case f") << "0f"
                                      << "/";
        // Only the first pair's two characters make each code.
        QTest::newRow("two pairs") << "4A4a"
                                   << "Jj";
    }
    void decodingFollowsTheDigitRules() {
        QFETCH(QString, encoded);
        QFETCH(QString, plain);
        QCOMPARE(DecodificaPass(encoded), plain);
    }

    void decodingFailsWithoutAPartialResult_data() {
        QTest::addColumn<QString>("encoded");
        QTest::newRow("odd length") << "61626";
        QTest::newRow("one digit") << "6";
        QTest::newRow("letters after F") << "ZZ";  // 595
        QTest::newRow("G0 is 256") << "G0";
        QTest::newRow("lower-case past 255") << "ff";  // 799
        QTest::newRow("blank gives a negative value") << " 0";
        QTest::newRow("bad pair after good ones") << "6162ZZ";
        QTest::newRow("outside the code page") << QString::fromUtf8("中0");
    }
    void decodingFailsWithoutAPartialResult() {
        QFETCH(QString, encoded);
        QCOMPARE(DecodificaPass(encoded), std::nullopt);
    }

    void helpers() {
        const QString digits = QStringLiteral("0123456789ABCDEF");
        for (std::int16_t n = 0; n < 16; ++n) {
            QCOMPARE(DigitoHex(n), digits.mid(n, 1));
        }
        QCOMPARE(ValorHex(QStringLiteral("ZZ")), std::int16_t(595));
        QCOMPARE(ValorHex(QStringLiteral("4a")), std::int16_t(106));
        QCOMPARE(ValorHex(QStringLiteral("616")), std::int16_t(0x61));  // the third is not read
        QCOMPARE(ValorHex(QStringLiteral("6")), std::nullopt);
    }

    void everyCodeRoundTrips() {
        QString all;
        for (int code = 0; code < 256; ++code) {
            const QChar c = codePageChar(code);
            QCOMPARE(codePageCode(c), code);
            const QString encoded = CodificaPass(QString(c));
            QCOMPARE(encoded, QString::asprintf("%02X", code));
            QCOMPARE(DecodificaPass(encoded), QString(c));
            all += c;
        }
        QCOMPARE(DecodificaPass(CodificaPass(all)), all);
        QCOMPARE(CodificaPass(all).size(), 512);
    }

    void charactersOutsideTheCodePage() {
        QCOMPARE(codePageCode(QChar(0x4E2D)), std::nullopt);  // 中
        QCOMPARE(codePageCode(QChar(0x0100)), std::nullopt);  // Ā
        // Refused where they are typed; should one come through, it is stored as "?".
        QCOMPARE(CodificaPass(QString::fromUtf8("a中")), "613F");
    }
};

QTEST_GUILESS_MAIN(CodecTest)
#include "test_codec.moc"
