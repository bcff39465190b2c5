#include "platform/linux/textsformat.h"

#include <QIODevice>
#include <QStringDecoder>

#include <cctype>
#include <optional>
#include <string_view>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

int digitValue(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

// Undoes the escapes of a value: the text, or nothing for a list (an unquoted comma).
std::optional<QString> unescapedText(QByteArrayView bytes) {
    QString text;
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    bool inQuotes = false;
    bool quoted = false;
    qsizetype chopLimit = 0;  // trailing blanks before it came from escapes and stay
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t')) {
            ++i;
        }
    };
    // Digits in base 8 or 16 after "\\" or "\\x", as many as there are.
    const auto number = [&](int base) {
        char16_t value = 0;
        for (int digit; i < bytes.size() && (digit = digitValue(bytes[i])) >= 0 && digit < base;
             ++i) {
            value = char16_t(value * base + digit);
        }
        text += QChar(value);
    };
    skipBlanks();
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\\') {
            if (++i == bytes.size()) {
                break;
            }
            const char e = bytes[i++];
            static constexpr std::string_view kFrom = "abfnrtv\"?'\\";
            static constexpr std::string_view kTo = "\a\b\f\n\r\t\v\"?'\\";
            if (const auto at = kFrom.find(e); at != std::string_view::npos) {
                text += QLatin1Char(kTo[at]);
            } else if (e == 'x') {
                if (i < bytes.size() && digitValue(bytes[i]) >= 0) {
                    number(16);
                }
            } else if (e >= '0' && e <= '7') {
                --i;
                number(8);
            }
            chopLimit = text.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
            }
        } else if (c == ',' && !inQuotes) {
            return std::nullopt;
        } else {
            qsizetype end = i + 1;
            while (end < bytes.size() && bytes[end] != '\\' && bytes[end] != '"' &&
                   bytes[end] != ',') {
                ++end;
            }
            text += fromUtf8(bytes.sliced(i, end - i));
            i = end;
        }
    }
    if (!quoted) {
        while (text.size() > chopLimit && (text.endsWith(u' ') || text.endsWith(u'\t'))) {
            text.chop(1);
        }
    }
    return text;
}

void appendEscapedText(const QString& text, QByteArray& out) {
    const qsizetype start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfHexDigit = false;  // "\\0" and "\\x1f" would run into a following digit
    const auto loneSurrogate = [&](qsizetype at) {
        const QChar c = text[at];
        return (c.isHighSurrogate() && (at + 1 == text.size() || !text[at + 1].isLowSurrogate())) ||
               (c.isLowSurrogate() && (at == 0 || !text[at - 1].isHighSurrogate()));
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        needsQuotes = needsQuotes || c == u';' || c == u',' || c == u'=';
        if (escapeNextIfHexDigit && c < 0x80 && digitValue(char(c)) >= 0) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfHexDigit = false;
        static constexpr std::string_view kFrom = "\a\b\f\n\r\t\v\"\\";
        static constexpr std::string_view kTo = "abfnrtv\"\\";
        if (c == 0) {
            out += "\\0";
            escapeNextIfHexDigit = true;
        } else if (const auto at = c < 0x80 ? kFrom.find(char(c)) : std::string_view::npos;
                   at != std::string_view::npos) {
            out += '\\';
            out += kTo[at];
        } else if (c <= 0x1f) {
            out += "\\x" + QByteArray::number(c, 16);
            escapeNextIfHexDigit = true;
        } else if (c < 0x80) {
            out += char(c);
        } else if (loneSurrogate(i)) {
            // Half a pair (from a hand-written escape) has no UTF-8 form: its number instead.
            out += "\\x" + QByteArray::number(c, 16);
            escapeNextIfHexDigit = true;
        } else {
            // A run of non-ASCII characters in UTF-8, surrogate pairs kept together.
            qsizetype end = i + 1;
            while (end < text.size() && text[end].unicode() >= 0x80 && !loneSurrogate(end)) {
                ++end;
            }
            out += QStringView(text).sliced(i, end - i).toUtf8();
            i = end - 1;
        }
    }
    if (needsQuotes || (out.size() > start && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

// Key names: "/" is written "\\", characters outside [A-Za-z0-9_.-] as "%XX" or "%UXXXX".
QString unescapedKey(QByteArrayView bytes) {
    QString key;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\\') {
            key += u'/';
            continue;
        }
        const qsizetype digits = i + 1 < bytes.size() && bytes[i + 1] == 'U' ? 4 : 2;
        const qsizetype first = digits == 4 ? i + 2 : i + 1;
        bool ok = false;
        const uint code = c == '%' && first + digits <= bytes.size()
                              ? bytes.sliced(first, digits).toByteArray().toUInt(&ok, 16)
                              : 0;
        if (ok) {
            key += QChar(char16_t(code));
            i = first + digits - 1;
        } else {
            key += QLatin1Char(c);
        }
    }
    return key;
}

void appendEscapedKey(QStringView key, QByteArray& out) {
    for (QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            out += '\\';
        } else if (c < 0x80 && (std::isalnum(c) || c == u'_' || c == u'-' || c == u'.')) {
            out += char(c);
        } else if (c <= 0xff) {
            out += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        } else {
            out += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
        }
    }
}

// The next line of the file from `pos` on, and where its key ends ("=" outside quotes), as
// QSettings' own reader finds them: a line ends at LF, CR or CRLF, or at a ";" outside quotes,
// after which the rest is a comment; blank lines and comment lines are skipped. Unlike that
// reader, a line always ends at its line end, also inside an open quote or after a backslash,
// so that a hand-edited line never takes in the lines after it.
struct Line {
    QByteArrayView text;
    qsizetype equals = -1;
};
std::optional<Line> nextLine(QByteArrayView data, qsizetype& pos) {
    const auto isLineEnd = [&](qsizetype at) { return data[at] == '\n' || data[at] == '\r'; };
    const auto skipComment = [&] {
        while (pos < data.size() && !isLineEnd(pos)) {
            ++pos;
        }
    };
    for (;;) {
        while (pos < data.size() && (data[pos] == ' ' || data[pos] == '\t' || isLineEnd(pos))) {
            ++pos;
        }
        if (pos == data.size()) {
            return std::nullopt;
        }
        if (data[pos] != ';') {
            break;
        }
        skipComment();
    }
    const qsizetype start = pos;
    Line line;
    bool inQuotes = false;
    for (; pos < data.size() && !isLineEnd(pos) && (inQuotes || data[pos] != ';'); ++pos) {
        if (data[pos] == '"') {
            inQuotes = !inQuotes;
        } else if (data[pos] == '=' && !inQuotes && line.equals < 0) {
            line.equals = pos - start;
        } else if (data[pos] == '\\' && pos + 1 < data.size() && !isLineEnd(pos + 1)) {
            ++pos;  // an escaped character is neither a quote nor a separator
        }
    }
    line.text = data.sliced(start, pos - start);
    skipComment();
    return line;
}

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes);  // the decoder converts only into a text
    return !decoder.hasError();
}

bool readTexts(QIODevice& device, QSettings::SettingsMap& map) {
    map = textsFileValues(device.readAll());
    return true;  // a false answer would make QSettings drop every value of the file
}

bool writeTexts(QIODevice& device, const QSettings::SettingsMap& map) {
    const QByteArray contents = textsFileContents(map);
    return device.write(contents) == contents.size();
}

}  // namespace

QByteArray textsFileContents(const QSettings::SettingsMap& map) {
    QMap<QString, QList<std::pair<QStringView, QVariant>>> sections;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        sections[slash < 0 ? QString() : it.key().first(slash)].append(
            {QStringView(it.key()).sliced(slash + 1), *it});
    }
    QByteArray out;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        out += out.isEmpty() ? "[" : "\n[";
        if (section.key().isEmpty()) {
            out += "General";
        } else {
            if (section.key().compare(u"General", Qt::CaseInsensitive) == 0) {
                out += '%';
            }
            appendEscapedKey(section.key(), out);
        }
        out += "]\n";
        for (const auto& [key, value] : *section) {
            appendEscapedKey(key, out);
            out += '=';
            if (value.typeId() == QMetaType::QByteArray) {
                out += value.toByteArray();  // as it stood in the file
            } else {
                const QString text = value.toString();
                appendEscapedText(text.contains(QChar::Null) ? u"@String("_s + text + u')'
                                  : text.startsWith(u'@')    ? u'@' + text
                                                             : text,
                                  out);
            }
            out += '\n';
        }
    }
    return out;
}

// Lines "[section]", "key=value"; anything else (a comment, a line without "=", a key that
// would name a group in another way) is left out.
QSettings::SettingsMap textsFileValues(QByteArrayView data) {
    QSettings::SettingsMap map;
    if (data.startsWith("\xEF\xBB\xBF")) {
        data = data.sliced(3);  // the byte-order mark an editor may put first
    }
    QString section;
    qsizetype pos = 0;
    while (const auto next = nextLine(data, pos)) {
        const QByteArrayView line = next->text;
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            const QByteArrayView name =
                line.sliced(1, (close < 0 ? line.size() : close) - 1).trimmed();
            // "General" is the top level, "%General" a group of that name (in its case).
            section = name.compare("general", Qt::CaseInsensitive) == 0 ? QString()
                      : name.compare("%general", Qt::CaseInsensitive) == 0
                          ? QString::fromLatin1(name.sliced(1))
                          : unescapedKey(name);
            continue;
        }
        if (next->equals <= 0) {
            continue;
        }
        const QString name = unescapedKey(line.first(next->equals).trimmed());
        const QString key = section.isEmpty() ? name : section + u'/' + name;
        if (name.isEmpty() || key.startsWith(u'/') || key.endsWith(u'/') ||
            key.contains(QStringLiteral("//"))) {
            continue;
        }
        const QByteArrayView value = line.sliced(next->equals + 1);
        // Bytes that are not UTF-8 have no text: kept as they are, not as U+FFFD.
        const auto text = isUtf8(value) ? unescapedText(value) : std::nullopt;
        if (text && text->startsWith(u"@String(") && text->endsWith(u')')) {
            map.insert(key, text->sliced(8).chopped(1));  // a text with a null character
        } else if (text && text->startsWith(u"@@")) {
            map.insert(key, text->sliced(1));
        } else if (!text || (text->startsWith(u'@') && text->endsWith(u')'))) {
            map.insert(key, value.trimmed().toByteArray());
        } else {
            map.insert(key, *text);
        }
    }
    return map;
}

QSettings::Format textsFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), readTexts, writeTexts);
    return format;
}
