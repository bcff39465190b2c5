#include "common/numeric.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include <locale.h>

namespace {

bool ignored(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

int digitOf(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

double radixValue(const QString& digits, int radix) {
    double value = 0;
    for (QChar c : digits) {
        const int d = digitOf(c);
        if (d < 0 || d >= radix) {
            break;
        }
        value = value * radix + d;
    }
    return clampFinite(value);
}

}  // namespace

double clampFinite(double v) {
    constexpr double kMax = std::numeric_limits<double>::max();
    if (std::isinf(v)) {
        return v > 0 ? kMax : -kMax;
    }
    return v;
}

double numericValue(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (!ignored(c)) {
            s.append(c);
        }
    }
    if (s.size() >= 2 && s[0] == u'&') {
        const QChar kind = s[1].toUpper();
        if (kind == u'H') {
            return radixValue(s.mid(2), 16);
        }
        if (kind == u'O') {
            return radixValue(s.mid(2), 8);
        }
        return 0;
    }

    // Collect the longest prefix that reads as a decimal number, then let the C library
    // convert it, so the result is correctly rounded.
    qsizetype i = 0;
    QString number;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        number.append(s[i++]);
    }
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i].isDigit() && s[i].unicode() < 128) {
            digits = true;
            number.append(s[i]);
        } else if ((s[i] == u'.' || s[i] == u',') && !point) {
            // A Spanish-speaking user writes "0,5" for a half: either mark is the decimal one.
            point = true;
            number.append(u'.');
        } else {
            break;
        }
    }
    if (!digits) {
        return 0;
    }
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) {
            exponent.append(s[j++]);
        }
        bool expDigits = false;
        for (; j < s.size() && s[j].isDigit() && s[j].unicode() < 128; ++j) {
            expDigits = true;
            exponent.append(s[j]);
        }
        if (expDigits) {
            number.append(exponent);
        }
    }
    // Converted in the C locale whatever the user's, so the mark collected above as "." is
    // the decimal point there.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const QByteArray latin = number.toLatin1();
    return clampFinite(strtod_l(latin.constData(), nullptr, cLocale));
}

QString numberText(double value) {
    value = clampFinite(value);
    if (value == 0) {
        return QStringLiteral("0");  // also for -0
    }
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        return QString::number(static_cast<qint64>(value));
    }
    // QString::number writes in the C locale, never the user's.
    return QString::number(value, 'g', 15);
}

std::optional<std::int32_t> roundToInt32(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const int oldMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(oldMode);
    if (r < std::numeric_limits<std::int32_t>::min() ||
        r > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}
