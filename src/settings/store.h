#pragma once

// The table of stored values and the guarded reads every window uses.

#include "platform/services.h"

#include <QString>
#include <QStringView>

#include <optional>

class CheckBox;
class OptionButton;
class TextBox;

// How a value is written and read back.
enum class ValueForm {
    Flag,        // "1" on, "0" off; read into an Options box as a check state
    CheckState,  // a check box state as a decimal number, read back as a whole number
    Boolean,     // "-1" selected, "0" not; read back as a Boolean
    Text,        // a field's text, as typed
};

// What the reader keeps when the value is missing or does not convert.
enum class WhenMissing {
    FieldEmpty,   // the field stays empty
    NoPassword,   // the password field stays empty
    Unchecked,    // the check box stays unchecked
    NotSelected,  // the option button stays unselected
    Off,          // the Options box keeps its initial state: unchecked
    On,           // the Options box keeps its initial state: checked
    OwnChoice,    // the target-time window keeps its own initial choice
};

struct StoredValue {
    QStringView name;
    ValueForm form;
    WhenMissing whenMissing;
};

// Every per-user value the program stores, under "HKEY_CURRENT_USER\Software\Nodavia\Tempix\".
inline constexpr StoredValue kStoredValues[] = {
    // The saved alert (Guardando; restored at the main window's load).
    {u"hh", ValueForm::Text, WhenMissing::FieldEmpty},
    {u"mm", ValueForm::Text, WhenMissing::FieldEmpty},
    {u"ss", ValueForm::Text, WhenMissing::FieldEmpty},
    {u"BlockPass", ValueForm::Text, WhenMissing::NoPassword},  // encoded by CodificaPass
    {u"TextPerson", ValueForm::Text, WhenMissing::FieldEmpty},
    {u"ShutState", ValueForm::CheckState, WhenMissing::Unchecked},  // only with SaveShutDown
    {u"Shutdown", ValueForm::Boolean, WhenMissing::NotSelected},    // only with SaveShutDown
    {u"Restart", ValueForm::Boolean, WhenMissing::NotSelected},     // only with SaveShutDown
    // The options: the Options window's boxes.
    {u"SaveAllEver", ValueForm::Flag, WhenMissing::On},
    {u"Minimize", ValueForm::Flag, WhenMissing::Off},
    {u"Sound", ValueForm::Flag, WhenMissing::On},
    {u"RunWin", ValueForm::Flag, WhenMissing::Off},
    {u"RunAuto", ValueForm::Flag, WhenMissing::Off},      // at start: on only for exactly "1"
    {u"WindowState", ValueForm::Flag, WhenMissing::Off},  // at start: on only for exactly "1"
    {u"StopSys", ValueForm::Flag, WhenMissing::Off},
    {u"ShowCron", ValueForm::Flag, WhenMissing::Off},
    {u"NoDown", ValueForm::Flag, WhenMissing::Off},
    {u"SaveShutDown", ValueForm::Flag, WhenMissing::Off},  // the save: on unless "0" or empty
    {u"ShowStart", ValueForm::Flag, WhenMissing::On},
    {u"SavePrec", ValueForm::Flag, WhenMissing::Off},
    // The warning a minute before a power-off, restart or lock; stores without it warn.
    {u"WarnBefore", ValueForm::Flag, WhenMissing::On},
    // The target-time window's last choices: texts of its lists.
    {u"ddd", ValueForm::Text, WhenMissing::OwnChoice},
    {u"hhh", ValueForm::Text, WhenMissing::OwnChoice},
    {u"mmm", ValueForm::Text, WhenMissing::OwnChoice},
    {u"ampm", ValueForm::Text, WhenMissing::OwnChoice},
};

// The table's row for a value name; nothing for a name the program does not store.
const StoredValue* storedValue(QStringView name);

inline const QString kUserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\");
// The full name of a per-user value: kUserKey + name. The name must be in the table (a
// misspelt name stops a debug build here).
QString userValue(const QString& name);
// The logon start-up entry. Its data is the executable's folder + "/tempix".
inline const QString kRunEntry = QStringLiteral(
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Nodavia Tempix");
// Whether the start-up entry names this program, or is absent for nothing: a write or a
// removal of it that failed has still reached its aim then.
bool entryIs(SettingsStore& store, const std::optional<QString>& program);

// Conversions on reading. Nothing when the text does not convert.
// A whole number as a check box takes it: blanks around it ignored, a fraction rounded to the
// even neighbour, "&H"/"&O" hexadecimal and octal, 16 bits ("01" is 1, "1.5" and "2.5" are 2,
// "abc" and "" do not convert).
std::optional<int> toWholeNumber(const QString& text);
// "0" false, any other number true, the words True and False.
std::optional<bool> toBoolean(const QString& text);

// Reads that leave their target unchanged when the value is missing or does not convert.
class GuardedReader {
public:
    explicit GuardedReader(SettingsStore& store) : store_(store) {}
    std::optional<QString> text(const QString& name);
    // The start-up tests of WindowState and RunAuto: the text is exactly "1".
    bool exactlyOne(const QString& name);
    // The save's test of SaveShutDown: the text is neither "0" nor empty (missing is empty).
    bool neitherZeroNorEmpty(const QString& name);
    bool intoText(const QString& name, TextBox* box);
    bool intoCheck(const QString& name, CheckBox* box);
    bool intoOption(const QString& name, OptionButton* button);
    // Whether the value reads as this check box state. A write of the box that failed lost
    // nothing then: a load sets a box from the store and its change handling writes it back.
    bool givesState(const QString& name, int state);

private:
    SettingsStore& store_;
};
