#pragma once

// The stored password's encoding: each character's Windows-1252 code as two upper-case
// hexadecimal digits.

#include <QString>

#include <cstdint>
#include <optional>

QString DigitoHex(std::int16_t n);
// The value of the first two characters of p; nothing when p is shorter, on a 16-bit overflow,
// or for a character outside the code page.
std::optional<std::int16_t> ValorHex(const QString& p);
QString CodificaPass(const QString& plain);
// Nothing, and no part of the result, when the text does not decode: odd length, a pair whose
// value lies outside 0 to 255.
std::optional<QString> DecodificaPass(const QString& encoded);

// Windows-1252 code of a character, or nothing when the code page cannot represent it.
std::optional<int> codePageCode(QChar c);
QChar codePageChar(int code);
