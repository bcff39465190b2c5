#include "lock/codec.h"

#include <array>
#include <limits>

namespace {

// Codes 0x80 to 0x9F of Windows-1252; the five codes it leaves undefined map to the control
// characters of the same number, so every code decodes and encodes back.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isDecimal(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

std::optional<int> codePageCode(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return u;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == u) {
            return 0x80 + i;
        }
    }
    return std::nullopt;
}

QChar codePageChar(int code) {
    if (code >= 0x80 && code < 0xA0) {
        return QChar(kHigh[code - 0x80]);
    }
    return QChar(static_cast<char16_t>(code));
}

QString DigitoHex(std::int16_t n) {
    if (n <= 9) {
        return QString::number(n);
    }
    return QString(QChar(static_cast<char16_t>(n + 55)));
}

std::optional<std::int16_t> ValorHex(const QString& p) {
    if (p.size() < 2) {
        return std::nullopt;
    }
    // A digit counts by its code-page code: "A" to "F" are 10 to 15, and any other letter is
    // its code minus 55 too, so "a" is 42. A character the code page lacks has no code.
    const auto first = codePageCode(p[0]);
    const auto second = codePageCode(p[1]);
    if (!first || !second) {
        return std::nullopt;
    }
    auto digitValue = [](QChar c, int code) { return isDecimal(c) ? code - '0' : code - 55; };
    // 16-bit arithmetic that fails on overflow.
    constexpr int kMin = std::numeric_limits<std::int16_t>::min();
    constexpr int kMax = std::numeric_limits<std::int16_t>::max();
    const int high = digitValue(p[0], *first) * 16;
    if (high < kMin || high > kMax) {
        return std::nullopt;
    }
    const int value = high + digitValue(p[1], *second);
    if (value < kMin || value > kMax) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

QString CodificaPass(const QString& plain) {
    QString result;
    result.reserve(plain.size() * 2);
    for (QChar c : plain) {
        // Characters outside the code page are refused where they are typed; should one get
        // here, it is stored as "?" like the code page's own conversion does.
        const int code = codePageCode(c).value_or('?');
        const auto high = static_cast<std::int16_t>(code / 16);
        const auto low = static_cast<std::int16_t>(code - 16 * high);
        result += DigitoHex(high);
        result += low > 0 ? DigitoHex(low) : QStringLiteral("0");
    }
    return result;
}

std::optional<QString> DecodificaPass(const QString& encoded) {
    // The last pair of an odd length lacks its second digit.
    if (encoded.size() % 2 != 0) {
        return std::nullopt;
    }
    QString result;
    result.reserve(encoded.size() / 2);
    for (qsizetype i = 0; i < encoded.size(); i += 2) {
        const auto v = ValorHex(encoded.mid(i, 2));
        if (!v || *v < 0 || *v > 255) {
            return std::nullopt;
        }
        result += codePageChar(*v);
    }
    return result;
}
