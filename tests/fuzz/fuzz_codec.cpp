// The password codec: any stored text decodes or is refused whole; any Windows-1252 password
// encodes and decodes back to itself.

#include "lock/codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char* what, const QString& text) {
    std::fprintf(stderr, "codec: %s for \"%s\"\n", what, text.toUtf8().constData());
    std::abort();
}

bool upperHex(const QString& text) {
    for (QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) {
            return false;
        }
    }
    return true;
}

void decodeAnything(const QString& stored) {
    const auto plain = DecodificaPass(stored);
    if (!plain) {
        if (upperHex(stored) && stored.size() % 2 == 0) {
            fail("an encoder's text was refused", stored);
        }
        return;
    }
    if (stored.size() % 2 != 0 || plain->size() != stored.size() / 2) {
        fail("decoded length", stored);
    }
    for (QChar c : *plain) {
        if (!codePageCode(c)) {
            fail("decoded a character outside the code page", stored);
        }
    }
    // An encoder's own text comes back unchanged.
    if (upperHex(stored) && CodificaPass(*plain) != stored) {
        fail("encoding the decoded text differs", stored);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* chars = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    decodeAnything(QString::fromLatin1(chars, length));
    decodeAnything(QString::fromUtf8(chars, length));

    // Every byte as a Windows-1252 character: a password of the code page.
    QString password;
    for (std::size_t i = 0; i < size; ++i) {
        password += codePageChar(data[i]);
    }
    const QString encoded = CodificaPass(password);
    if (encoded.size() != password.size() * 2 || !upperHex(encoded)) {
        fail("encoded form", password);
    }
    const auto back = DecodificaPass(encoded);
    if (!back || *back != password) {
        fail("round trip", password);
    }
    for (std::size_t i = 0; i < size; ++i) {
        if (codePageCode(password[static_cast<qsizetype>(i)]) != data[i]) {
            fail("code page table is not one to one", password);
        }
    }
    return 0;
}
