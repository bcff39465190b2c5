#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The numeric value of a text, as every time field, list and working field is read: blanks,
// tabs and line feeds are ignored wherever they stand; an optional sign, digits with at most
// one decimal mark ("." or ",", in every locale) and an optional exponent are read up to the
// first character that does not fit; "&H" and "&O" introduce hexadecimal and octal numbers. A text
// without a leading number gives 0. The result is always finite: a number too large for a double
// gives the largest double of its sign.
double numericValue(const QString& text);

// An infinity replaced by the largest double of its sign, so results stay numbers.
double clampFinite(double value);

// A number written back as plain decimal text: no leading zeros, a point as decimal
// separator, an exponent only for very large or very small numbers.
QString numberText(double value);

// A total rounded to a signed 32-bit number, halves to the even neighbour; nothing when the
// rounded value does not fit.
std::optional<std::int32_t> roundToInt32(double value);
