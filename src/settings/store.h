#pragma once

// The table of stored values and the guarded reads every window uses.

#include "platform/services.h"

#include <QString>

#include <optional>

class CheckBox;
class OptionButton;
class TextBox;

// The full name of a per-user value: "HKEY_CURRENT_USER\Software\Nodavia\Tempix\" + name.
QString userValue(const QString& name);
inline const QString kUserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\");
// The logon start-up entry.
inline const QString kRunEntry = QStringLiteral(
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Nodavia Tempix");

// Conversions on reading. Nothing when the text does not convert.
std::optional<int> toWholeNumber(const QString& text);
std::optional<bool> toBoolean(const QString& text);

// Reads that leave their target unchanged when the value is missing or does not convert.
class GuardedReader {
public:
    explicit GuardedReader(SettingsStore& store) : store_(store) {}
    std::optional<QString> text(const QString& name);
    bool intoText(const QString& name, TextBox* box);
    bool intoCheck(const QString& name, CheckBox* box);
    bool intoOption(const QString& name, OptionButton* button);

private:
    SettingsStore& store_;
};
