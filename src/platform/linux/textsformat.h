#pragma once

#include <QSettings>

// The file holds texts only. QSettings' own format would take a value such as
// "@Variant(...)" for a serialized Qt type and deserialize it (a damaged one recursed until the
// stack overflowed); this format reads and writes the same lines, escapes and sections, but
// every value is a text ("@@x" is "@x", "@String(...)" a text with a null character). A value
// the program could not have written as a text (a list, another "@Type(...)", bytes that are
// not UTF-8) is kept as the bytes it stood in the file as, and is no value.
QSettings::Format textsFormat();

// The values of a file's bytes, as the format reads them.
QSettings::SettingsMap textsFileValues(QByteArrayView data);

// The file's bytes for these values: the top-level values under "[General]" first, then each
// group.
QByteArray textsFileContents(const QSettings::SettingsMap& map);
