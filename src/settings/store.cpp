#include "settings/store.h"

#include "common/numeric.h"
#include "platform/controls.h"

#include <QLocale>

#include <cmath>
#include <cstdint>
#include <limits>

const StoredValue* storedValue(QStringView name) {
    for (const StoredValue& v : kStoredValues) {
        if (v.name == name) {
            return &v;
        }
    }
    return nullptr;
}

QString userValue(const QString& name) {
    Q_ASSERT_X(storedValue(name), "userValue", "a value name outside the table");
    return kUserKey + name;
}

namespace {

// "&H" and "&O" numbers count as 16-bit up to four hexadecimal digits' worth and as 32-bit up
// to eight, so "&HFFFF" is -1.
std::optional<double> prefixedNumber(QStringView digits, int base) {
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    quint64 v = 0;
    for (QChar c : digits) {
        const char16_t u = c.toUpper().unicode();
        const int d = u >= u'0' && u <= u'9'   ? u - u'0'
                      : u >= u'A' && u <= u'F' ? u - u'A' + 10
                                               : -1;
        if (d < 0 || d >= base) {
            return std::nullopt;
        }
        v = v * base + d;
        if (v > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    if (v <= 0xFFFF) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

// A text that is a number as a whole (blanks around it allowed): "01", " 2 ", "1.5", "&H1".
std::optional<double> wholeTextNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() > 1 && t[0] == u'&' && (t[1].toUpper() == u'H' || t[1].toUpper() == u'O')) {
        return prefixedNumber(QStringView(t).sliced(2), t[1].toUpper() == u'H' ? 16 : 8);
    }
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

}  // namespace

std::optional<int> toWholeNumber(const QString& text) {
    const auto v = wholeTextNumber(text);
    if (!v) {
        return std::nullopt;
    }
    const auto r = roundToInt32(*v);
    if (!r || *r < std::numeric_limits<std::int16_t>::min() ||
        *r > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return *r;
}

std::optional<bool> toBoolean(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    const auto v = wholeTextNumber(t);
    if (!v) {
        return std::nullopt;
    }
    return *v != 0;
}

std::optional<QString> GuardedReader::text(const QString& name) {
    return store_.read(userValue(name));
}

bool GuardedReader::exactlyOne(const QString& name) {
    return text(name) == u"1";
}

bool GuardedReader::neitherZeroNorEmpty(const QString& name) {
    const QString t = text(name).value_or(QString());
    return t != u"0" && !t.isEmpty();
}

bool GuardedReader::intoText(const QString& name, TextBox* box) {
    Q_ASSERT(storedValue(name) && storedValue(name)->form == ValueForm::Text);
    const auto v = text(name);
    if (!v) {
        return false;
    }
    box->setText(*v);
    return true;
}

bool GuardedReader::intoCheck(const QString& name, CheckBox* box) {
    Q_ASSERT(storedValue(name) && (storedValue(name)->form == ValueForm::CheckState ||
                                   storedValue(name)->form == ValueForm::Flag));
    const auto v = text(name);
    if (!v) {
        return false;
    }
    const auto state = toWholeNumber(*v);
    return state && box->setValue(*state);
}

bool GuardedReader::intoOption(const QString& name, OptionButton* button) {
    Q_ASSERT(storedValue(name) && storedValue(name)->form == ValueForm::Boolean);
    const auto v = text(name);
    if (!v) {
        return false;
    }
    const auto selected = toBoolean(*v);
    if (!selected) {
        return false;
    }
    button->setValue(*selected);
    return true;
}

bool GuardedReader::givesState(const QString& name, int state) {
    const auto v = text(name);
    return v && toWholeNumber(*v) == state;
}

bool entryIs(SettingsStore& store, const std::optional<QString>& program) {
    return store.read(kRunEntry) == program;
}
