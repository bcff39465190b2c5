// The numeric value of any text, and the text of any number read back.

#include "common/numeric.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char* what, const QString& text) {
    std::fprintf(stderr, "numeric: %s for \"%s\"\n", what, text.toUtf8().constData());
    std::abort();
}

void check(const QString& text) {
    const double v = numericValue(text);
    if (!std::isfinite(v)) {
        fail("value not finite", text);
    }
    // Reading stops at the first character that does not fit, and blanks count nowhere.
    if (numericValue(text + u'x') != v) {
        fail("trailing letter changed the value", text);
    }
    for (qsizetype k : {qsizetype(0), text.size() / 2, text.size()}) {
        QString spaced = text;
        spaced.insert(k, QStringLiteral(" \t\n"));
        if (numericValue(spaced) != v) {
            fail("a blank changed the value", text);
        }
    }

    // Written back, a number is plain decimal text that reads as (nearly) the same number and
    // writes back to the same text.
    const QString written = numberText(v);
    if (written.isEmpty() || written.contains(u' ') || written.contains(u',')) {
        fail("number text not plain", text);
    }
    if (written.size() > 1 && written[0] == u'0' && written[1] != u'.') {
        fail("leading zero", text);
    }
    const double back = numericValue(written);
    if (std::fabs(back - v) > std::fabs(v) * 1e-14) {
        fail("number text does not read back", text);
    }
    if (v == std::trunc(v) && std::fabs(v) < 1e15 && back != v) {
        fail("whole number does not read back exactly", text);
    }
    if (numberText(back) != written) {
        fail("number text is not stable", text);
    }

    // The start's rounding: halves to even, nothing when it does not fit.
    if (const auto r = roundToInt32(v)) {
        if (std::fabs(static_cast<double>(*r) - v) > 0.5) {
            fail("rounding off by more than a half", text);
        }
    } else if (std::fabs(v) < 2147483647.0) {
        fail("a total that fits was refused", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* chars = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    check(QString::fromUtf8(chars, length));
    check(QString::fromLatin1(chars, length));
    if (size % 2 == 0) {
        check(QString::fromUtf16(reinterpret_cast<const char16_t*>(data), length / 2));
    }
    return 0;
}
