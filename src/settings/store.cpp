#include "settings/store.h"

#include "common/numeric.h"
#include "platform/controls.h"

#include <QLocale>

#include <cmath>
#include <limits>

QString userValue(const QString& name) {
    return kUserKey + name;
}

namespace {

// A text that is a number as a whole (surrounding blanks allowed): "01", " 2 ", "1.5", "&H1".
std::optional<double> wholeTextNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    if (t.size() > 2 && t[0] == u'&' && (t[1].toUpper() == u'H' || t[1].toUpper() == u'O')) {
        bool ok = false;
        const qlonglong v = t.mid(2).toLongLong(&ok, t[1].toUpper() == u'H' ? 16 : 8);
        return ok ? std::optional<double>(static_cast<double>(v)) : std::nullopt;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
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

bool GuardedReader::intoText(const QString& name, TextBox* box) {
    const auto v = text(name);
    if (!v) {
        return false;
    }
    box->setText(*v);
    return true;
}

bool GuardedReader::intoCheck(const QString& name, CheckBox* box) {
    const auto v = text(name);
    if (!v) {
        return false;
    }
    const auto state = toWholeNumber(*v);
    return state && box->setValue(*state);
}

bool GuardedReader::intoOption(const QString& name, OptionButton* button) {
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
