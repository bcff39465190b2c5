// The target-time arithmetic: the worked examples at 10:20, the edges of the day and of the
// entries, and what typed text that is not a plain number does.

#include "common/numeric.h"
#include "schedule/targettime.h"

#include <QTest>

#include <cmath>
#include <ctime>

using Outcome = TargetTime::Outcome;

namespace {

// Local time (Europe/Madrid, set in main) on a day with no daylight-saving change in the ten
// days after it.
QDateTime onDecember8(QTime time) {
    return QDateTime(QDate(2026, 12, 8), time);
}

}  // namespace

class TargetTimeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void countdown_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QString>("halfDay");
        QTest::addColumn<QString>("hh");
        QTest::addColumn<QString>("mm");
        const QTime at1020(10, 20, 0);
        // The worked examples.
        QTest::newRow("today afternoon") << at1020 << "Hoy"
                                         << "03"
                                         << "45"
                                         << "P.M."
                                         << "5"
                                         << "25";
        QTest::newRow("today already passed") << at1020 << "Hoy"
                                              << "10"
                                              << "05"
                                              << "A.M."
                                              << "0"
                                              << "0";
        QTest::newRow("today borrowing an hour") << at1020 << "Hoy"
                                                 << "11"
                                                 << "10"
                                                 << "A.M."
                                                 << "0"
                                                 << "50";
        QTest::newRow("today 12 P.M. is midnight") << at1020 << "Hoy"
                                                   << "12"
                                                   << "00"
                                                   << "P.M."
                                                   << "13"
                                                   << "40";
        QTest::newRow("tomorrow afternoon") << at1020 << "01"
                                            << "03"
                                            << "45"
                                            << "P.M."
                                            << "29"
                                            << "25";
        QTest::newRow("tomorrow earlier clock time") << at1020 << "01"
                                                     << "09"
                                                     << "05"
                                                     << "A.M."
                                                     << "22"
                                                     << "45";
        QTest::newRow("in two days same clock time") << at1020 << "02"
                                                     << "10"
                                                     << "20"
                                                     << "A.M."
                                                     << "48"
                                                     << "0";
        // The edges.
        QTest::newRow("current minute") << at1020 << "Hoy"
                                        << "10"
                                        << "20"
                                        << "A.M."
                                        << "0"
                                        << "0";
        QTest::newRow("12 P.M. at 23:59") << QTime(23, 59) << "Hoy"
                                          << "12"
                                          << "00"
                                          << "P.M."
                                          << "0"
                                          << "1";
        QTest::newRow("00 A.M. tomorrow is the coming midnight") << at1020 << "01"
                                                                 << "00"
                                                                 << "00"
                                                                 << "A.M."
                                                                 << "13"
                                                                 << "40";
        QTest::newRow("12 A.M. is noon") << QTime(11, 30) << "Hoy"
                                         << "12"
                                         << "00"
                                         << "A.M."
                                         << "0"
                                         << "30";
        QTest::newRow("ten days") << at1020 << "10"
                                  << "10"
                                  << "20"
                                  << "A.M."
                                  << "240"
                                  << "0";
        QTest::newRow("seconds dropped") << QTime(10, 20, 50) << "Hoy"
                                         << "10"
                                         << "30"
                                         << "A.M."
                                         << "0"
                                         << "10";
        // Typed entries.
        QTest::newRow("day and a half") << at1020 << "1.5"
                                        << "10"
                                        << "20"
                                        << "A.M."
                                        << "36"
                                        << "0";
        QTest::newRow("half a day counts as today") << at1020 << "0.5"
                                                    << "09"
                                                    << "00"
                                                    << "A.M."
                                                    << "0"
                                                    << "0";
        QTest::newRow("negative day counts as today") << at1020 << "-2"
                                                      << "11"
                                                      << "00"
                                                      << "A.M."
                                                      << "0"
                                                      << "40";
        QTest::newRow("7 p.m. typed as hour is 7") << at1020 << "Hoy"
                                                   << "7 p.m."
                                                   << "00"
                                                   << "A.M."
                                                   << "0"
                                                   << "0";
        QTest::newRow("only exact P.M. adds twelve") << at1020 << "Hoy"
                                                     << "03"
                                                     << "00"
                                                     << "p.m."
                                                     << "0"
                                                     << "0";
        QTest::newRow("P.M. with a blank is not P.M.") << at1020 << "01"
                                                       << "03"
                                                       << "00"
                                                       << "P.M. "
                                                       << "16"
                                                       << "40";
        QTest::newRow("words count as 0") << at1020 << "mañana"
                                          << "once"
                                          << "x"
                                          << "P.M."
                                          << "1"
                                          << "40";
        QTest::newRow("empty entries") << at1020 << ""
                                       << ""
                                       << ""
                                       << ""
                                       << "0"
                                       << "0";
        QTest::newRow("fraction of an hour") << at1020 << "Hoy"
                                             << "11.5"
                                             << "20"
                                             << "A.M."
                                             << "1.5"
                                             << "0";
        QTest::newRow("fraction of a minute") << at1020 << "Hoy"
                                              << "11"
                                              << "30.25"
                                              << "A.M."
                                              << "1"
                                              << "10.25";
        QTest::newRow("fraction borrowing") << at1020 << "Hoy"
                                            << "11"
                                            << "19.5"
                                            << "A.M."
                                            << "0"
                                            << "59.5";
        QTest::newRow("hex hour") << at1020 << "Hoy"
                                  << "&HB"
                                  << "20"
                                  << "A.M."
                                  << "1"
                                  << "0";
        QTest::newRow("blanks inside") << at1020 << " 0 1"
                                       << "1 1"
                                       << "2 0"
                                       << "A.M."
                                       << "25"
                                       << "0";
        QTest::newRow("hour 0 at midnight") << QTime(0, 0) << "Hoy"
                                            << "00"
                                            << "05"
                                            << "A.M."
                                            << "0"
                                            << "5";
    }
    void countdown() {
        QFETCH(QTime, now);
        QFETCH(QString, day);
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QString, halfDay);
        QFETCH(QString, hh);
        QFETCH(QString, mm);
        const TargetTime t = targetTime(day, hour, minute, halfDay, onDecember8(now));
        QCOMPARE(t.outcome, Outcome::Countdown);
        QCOMPARE(numberText(t.hhnva), hh);
        QCOMPARE(numberText(t.mmnva), mm);
    }

    // In Europe/Madrid the clock goes from 02:00 to 03:00 on 29 March 2026 and from 03:00 back
    // to 02:00 on 25 October 2026: the countdown ends when the clock shows the target.
    void acrossADaylightSavingChange_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("halfDay");
        QTest::addColumn<QString>("hh");
        QTest::addColumn<QString>("mm");
        const QDateTime spring(QDate(2026, 3, 28), QTime(10, 20, 30));
        const QDateTime autumn(QDate(2026, 10, 24), QTime(10, 20, 30));
        QTest::newRow("spring, tomorrow") << spring << "01"
                                          << "10"
                                          << "A.M."
                                          << "23"
                                          << "0";
        QTest::newRow("spring, the night of the change")
            << QDateTime(QDate(2026, 3, 29), QTime(1, 0)) << "Hoy"
            << "05"
            << "A.M."
            << "3"
            << "20";
        QTest::newRow("spring, two days on, afternoon") << spring << "02"
                                                        << "03"
                                                        << "P.M."
                                                        << "52"
                                                        << "0";
        QTest::newRow("autumn, tomorrow") << autumn << "01"
                                          << "10"
                                          << "A.M."
                                          << "25"
                                          << "0";
        QTest::newRow("autumn, the night of the change")
            << QDateTime(QDate(2026, 10, 25), QTime(1, 30)) << "Hoy"
            << "04"
            << "A.M."
            << "3"
            << "50";
        QTest::newRow("no change in between") << QDateTime(QDate(2026, 3, 29), QTime(4, 0)) << "01"
                                              << "04"
                                              << "A.M."
                                              << "24"
                                              << "20";
    }
    void acrossADaylightSavingChange() {
        QFETCH(QDateTime, now);
        QFETCH(QString, day);
        QFETCH(QString, hour);
        QFETCH(QString, halfDay);
        QFETCH(QString, hh);
        QFETCH(QString, mm);
        const TargetTime t = targetTime(day, hour, QStringLiteral("20"), halfDay, now);
        QCOMPARE(numberText(t.hhnva), hh);
        QCOMPARE(numberText(t.mmnva), mm);
        // Started at once, the countdown ends at the target clock time (seconds of now kept).
        const QDateTime end = now.addSecs(qint64(t.hhnva * 3600 + t.mmnva * 60));
        QCOMPARE(end.time().hour() % 12, numericValue(hour) == 12 ? 0 : int(numericValue(hour)));
        QCOMPARE(end.time().minute(), 20);
    }

    void refused_data() {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<Outcome>("outcome");
        QTest::newRow("hour 12.5") << "12.5"
                                   << "00" << Outcome::HourRefused;
        QTest::newRow("hour 13") << "13"
                                 << "00" << Outcome::HourRefused;
        QTest::newRow("hour -1") << "-1"
                                 << "00" << Outcome::HourRefused;
        QTest::newRow("hour just below 0") << "-0.001"
                                           << "00" << Outcome::HourRefused;
        QTest::newRow("minute 60") << "05"
                                   << "60" << Outcome::MinuteRefused;
        QTest::newRow("minute 59.5") << "05"
                                     << "59.5" << Outcome::MinuteRefused;
        QTest::newRow("minute -1") << "05"
                                   << "-1" << Outcome::MinuteRefused;
        QTest::newRow("both wrong: the hour first") << "13"
                                                    << "60" << Outcome::HourRefused;
        QTest::newRow("huge hour") << "9e99"
                                   << "00" << Outcome::HourRefused;
        QTest::newRow("hour 12 and minute 59 pass") << "12"
                                                    << "59" << Outcome::Countdown;
        QTest::newRow("hour 0 and minute 0 pass") << "0"
                                                  << "0" << Outcome::Countdown;
    }
    void refused() {
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(Outcome, outcome);
        QCOMPARE(targetTime(QStringLiteral("01"), hour, minute, QStringLiteral("A.M."),
                            onDecember8(QTime(10, 20)))
                     .outcome,
                 outcome);
    }

    void hugeDaysStayFiniteAndRoundTrip() {
        for (const char* day : {"9e99", "1e308", "9e999", "&HFFFFFFFFFFFFFFFFFFFFFFFF"}) {
            const TargetTime t =
                targetTime(QString::fromLatin1(day), QStringLiteral("03"), QStringLiteral("00"),
                           QStringLiteral("A.M."), onDecember8(QTime(10, 20)));
            QCOMPARE(t.outcome, Outcome::Countdown);
            QVERIFY2(std::isfinite(t.hhnva), day);
            QVERIFY2(t.hhnva > 1e20, day);
            // Written into hh and read back, the hours stay huge: the start then refuses them.
            QVERIFY2(numericValue(numberText(t.hhnva)) > 1e20, day);
        }
    }

    void currentTimeTexts_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("military");
        QTest::addColumn<QString>("longForm");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QString>("halfDay");
        QTest::newRow("just after midnight") << QTime(0, 30, 5) << "00:30:00"
                                             << "12:30:05 a.m."
                                             << "12"
                                             << "30"
                                             << "";
        QTest::newRow("morning") << QTime(9, 5, 0) << "09:05:00"
                                 << "09:05:00 a.m."
                                 << "09"
                                 << "05"
                                 << "";
        QTest::newRow("noon keeps the half-day") << QTime(12, 59, 59) << "12:59:00"
                                                 << "12:59:59 p.m."
                                                 << "12"
                                                 << "59"
                                                 << "";
        QTest::newRow("one in the afternoon") << QTime(13, 0, 0) << "13:00:00"
                                              << "01:00:00 p.m."
                                              << "01"
                                              << "00"
                                              << "P.M.";
        QTest::newRow("afternoon") << QTime(15, 45, 10) << "15:45:00"
                                   << "03:45:10 p.m."
                                   << "03"
                                   << "45"
                                   << "P.M.";
        QTest::newRow("last minute") << QTime(23, 59, 59) << "23:59:00"
                                     << "11:59:59 p.m."
                                     << "11"
                                     << "59"
                                     << "P.M.";
    }
    void currentTimeTexts() {
        QFETCH(QTime, now);
        QFETCH(QString, military);
        QFETCH(QString, longForm);
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QString, halfDay);
        QCOMPARE(militaryTime(now), military);
        QCOMPARE(longTime(now), longForm);
        const TimePreset p = timePreset(longTime(now), militaryTime(now));
        QCOMPARE(p.hour, hour);
        QCOMPARE(p.minute, minute);
        QCOMPARE(p.halfDay, halfDay);
    }

    void halfDayMarkersRemovedExactly() {
        QCOMPARE(withoutHalfDay(QStringLiteral("03:45 p.m.:00 a.m. p.m.")),
                 QStringLiteral("03:45:00"));
        QCOMPARE(withoutHalfDay(QStringLiteral("03:45 P.M.")), QStringLiteral("03:45 P.M."));
        QCOMPARE(withoutHalfDay(QStringLiteral("03:45p.m.")), QStringLiteral("03:45p.m."));
    }
};

int main(int argc, char** argv) {
    // Local time is the time of a zone with daylight-saving changes.
    qputenv("TZ", "Europe/Madrid");
    ::tzset();
    TargetTimeTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_targettime.moc"
