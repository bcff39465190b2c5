// The target-time calculation on any four entries and any current time. The input is
// "day|hour|minute|half-day|hh:mm:ss"; missing parts are empty, a time that does not read is
// taken from the input's bytes.

#include "common/numeric.h"
#include "schedule/targettime.h"

#include <QDateTime>
#include <QStringList>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char* what, const QString& input) {
    std::fprintf(stderr, "targettime: %s for \"%s\"\n", what, input.toUtf8().constData());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList parts = input.split(u'|');
    while (parts.size() < 5) {
        parts.append(QString());
    }
    QTime now = QTime::fromString(parts[4], QStringLiteral("hh:mm:ss"));
    if (!now.isValid()) {
        std::uint32_t h = 2166136261u;
        for (std::size_t i = 0; i < size; ++i) {
            h = (h ^ data[i]) * 16777619u;
        }
        now = QTime(0, 0).addSecs(static_cast<int>(h % 86400));
    }
    // In UTC: no daylight-saving change, the clock difference is the real one.
    const TargetTime t = targetTime(parts[0], parts[1], parts[2], parts[3],
                                    QDateTime(QDate(2026, 6, 10), now, Qt::UTC));

    for (double v : {t.hhact, t.mmact, t.horasel, t.minutosel, t.diasel, t.hhnva, t.mmnva}) {
        if (!std::isfinite(v)) {
            fail("a working value is not finite", input);
        }
    }
    if (t.hhact != now.hour() || t.mmact != now.minute()) {
        fail("current hour or minute", input);
    }
    const double h = numericValue(parts[1]);
    const double m = numericValue(parts[2]);
    const double d = numericValue(parts[0]);
    using O = TargetTime::Outcome;
    const O expected = (h > 12 || h < 0)   ? O::HourRefused
                       : (m > 59 || m < 0) ? O::MinuteRefused
                                           : O::Countdown;
    if (t.outcome != expected) {
        fail("outcome", input);
    }
    if (t.outcome != O::Countdown) {
        return 0;
    }
    if (!(t.mmnva >= 0 && t.mmnva < 60)) {
        fail("minutes outside 0 to 59", input);
    }
    if (d < 1 && t.hhnva < 0) {
        fail("negative hours today", input);
    }
    // Whole entries: the result is the time from now (seconds dropped) to the target.
    if (h == std::trunc(h) && m == std::trunc(m) && d == std::trunc(d) && d < 1e6) {
        const double target = ((parts[3] == u"P.M." ? h + 12 : h) + (d >= 1 ? d * 24 : 0)) * 60 + m;
        const double current = now.hour() * 60 + now.minute();
        const double want = d >= 1 || target >= current ? target - current : 0;
        if (t.hhnva * 60 + t.mmnva != want) {
            fail("result differs from the time to the target", input);
        }
    }
    // Written into the main window, the result must read back as (nearly) the same number.
    if (std::fabs(numericValue(numberText(t.hhnva)) - t.hhnva) > std::fabs(t.hhnva) * 1e-14) {
        fail("hours do not read back", input);
    }
    return 0;
}
