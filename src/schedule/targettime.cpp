#include "schedule/targettime.h"

#include "common/numeric.h"

#include <cmath>
#include <limits>

namespace {

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Minutes to add to a countdown of `minutes` on the clock from `from` so that it ends when
// the clock shows the target: the change of the zone's offset in between (a daylight-saving
// change), or none when the target is too far or not a time of the clock.
double offsetChangeMinutes(const QDateTime& from, double minutes) {
    if (!(std::fabs(minutes) < 1e9)) {
        return 0;
    }
    const qint64 clockSeconds = std::llround(minutes * 60);
    // The clock time of the target, counted on a clock without changes.
    const QDateTime onTheClock = QDateTime(from.date(), from.time(), Qt::UTC).addSecs(clockSeconds);
    QDateTime target = from;
    target.setDate(onTheClock.date());
    target.setTime(onTheClock.time());
    if (!target.isValid()) {
        return 0;
    }
    return (from.secsTo(target) - clockSeconds) / 60.0;
}

}  // namespace

TargetTime targetTime(const QString& day, const QString& hour, const QString& minute,
                      const QString& halfDay, const QDateTime& nowDateTime) {
    const QTime now = nowDateTime.time();
    TargetTime t;
    // The current hour and minute as the window reads them back from its 24-hour text.
    const QString current = withoutHalfDay(militaryTime(now));
    t.hhact = numericValue(current.mid(0, 2));
    t.mmact = numericValue(current.mid(3, 2));

    const double h = numericValue(hour);
    if (h > 12 || h < 0) {
        t.outcome = TargetTime::Outcome::HourRefused;
        return t;
    }
    const double m = numericValue(minute);
    if (m > 59 || m < 0) {
        t.outcome = TargetTime::Outcome::MinuteRefused;
        return t;
    }

    // "12" "P.M." is hour 24, the coming midnight; "12" "A.M." is noon.
    t.horasel = halfDay == u"P.M." ? h + 12 : h;
    t.minutosel = m;

    double hours = t.horasel - t.hhact;
    double minutes = t.minutosel - t.mmact;
    if (minutes < 0) {
        hours -= 1;
        minutes += 60;
    }

    const double d = numericValue(day);
    if (d >= 1) {
        t.diasel = clampFinite(d * 24);
        hours = clampFinite(hours + t.diasel);
    } else if (hours < 0) {
        // Already passed today: an alert that completes at once.
        hours = 0;
        minutes = 0;
    }
    // Counted from the start of the current minute, as the clock difference is.
    QDateTime from = nowDateTime;
    from.setTime(QTime(now.hour(), now.minute()));
    minutes += offsetChangeMinutes(from, hours * 60 + minutes);
    for (; minutes < 0; minutes += 60) {
        hours -= 1;
    }
    for (; minutes >= 60; minutes -= 60) {
        hours += 1;
    }
    if (hours < 0) {
        // The clock shows the target twice (the autumn change) and the first is past.
        hours = 0;
        minutes = 0;
    }
    t.hhnva = hours;
    t.mmnva = minutes;
    return t;
}

QString militaryTime(QTime now) {
    return twoDigits(now.hour()) + u':' + twoDigits(now.minute()) + QStringLiteral(":00");
}

QString longTime(QTime now) {
    const int hour12 = now.hour() % 12 == 0 ? 12 : now.hour() % 12;
    return twoDigits(hour12) + u':' + twoDigits(now.minute()) + u':' + twoDigits(now.second()) +
           (now.hour() < 12 ? QStringLiteral(" a.m.") : QStringLiteral(" p.m."));
}

QString withoutHalfDay(QString text) {
    text.replace(QStringLiteral(" p.m."), QString(), Qt::CaseSensitive);
    text.replace(QStringLiteral(" a.m."), QString(), Qt::CaseSensitive);
    return text;
}

TimePreset timePreset(const QString& horamilitar, const QString& horactual) {
    TimePreset p{horamilitar.mid(0, 2), horamilitar.mid(3, 2), QString()};
    // Noon to 12:59 keeps the list's text: "12" with "A.M." already reads as noon.
    if (numericValue(horactual.mid(0, 2)) > 12) {
        p.halfDay = QStringLiteral("P.M.");
    }
    return p;
}
