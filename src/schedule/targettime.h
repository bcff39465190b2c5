#pragma once

// The target-time arithmetic: from a day, an hour on the 0 to 12 scale, a minute and a
// half-day, the hours and minutes from now to that moment. Pure, so it can be checked for
// every entry without a window.

#include <QDateTime>
#include <QString>
#include <QTime>

struct TargetTime {
    enum class Outcome {
        Countdown,      // hours and minutes hold the countdown
        HourRefused,    // the hour is outside 0 to 12
        MinuteRefused,  // the minute is outside 0 to 59
    };
    Outcome outcome = Outcome::Countdown;
    // The working values, as the window keeps them. Always finite.
    double hhact = 0;      // current hour
    double mmact = 0;      // current minute
    double horasel = 0;    // target hour on the 24-hour scale
    double minutosel = 0;  // target minute
    double diasel = 0;     // days times 24
    double hhnva = 0;      // result: hours (may exceed 23)
    double mmnva = 0;      // result: minutes
};

// The entries are read by their numeric value; only the half-day text "P.M." (exactly) adds
// twelve hours. The seconds of now play no part: the countdown runs to the start of the
// target minute counted from the start of the current one. The result is the real time until
// the clock of now's time zone shows the target: a daylight-saving change in between makes it
// an hour shorter or longer than the difference of the clock times.
TargetTime targetTime(const QString& day, const QString& hour, const QString& minute,
                      const QString& halfDay, const QDateTime& now);

// Texts of the current time that the window keeps.
// "15:45:00": the 24-hour clock, seconds always ":00".
QString militaryTime(QTime now);
// "03:45:10 p.m.": the 12-hour clock with two digits each, hour 0 shown as 12. A fixed form,
// not the locale's, so that the preset finds the hour and minute where it expects them.
QString longTime(QTime now);
// Removes every " p.m.", then every " a.m." (case-sensitive).
QString withoutHalfDay(QString text);

// What the current-time preset puts into the hour, minute and half-day lists. halfDay is
// empty when the list keeps its text.
struct TimePreset {
    QString hour;
    QString minute;
    QString halfDay;
};
TimePreset timePreset(const QString& horamilitar, const QString& horactual);
