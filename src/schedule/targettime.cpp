#include "schedule/targettime.h"

#include "common/numeric.h"

#include <cmath>
#include <limits>

namespace {

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace

TargetTime targetTime(const QString& day, const QString& hour, const QString& minute,
                      const QString& halfDay, QTime now) {
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
