#pragma once

// Two saved alerts that differ in every value and in the size of the file they make, shared by
// the fault tests and the helper that saves them.

#include "platform/services.h"

#include <QStringList>

inline SettingsStore::Values savedAlert(char which) {
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\");
    const bool a = which == 'A';
    // The texts as the main window saves them; BlockPass is "alfa" or "contraseña-beta" encoded.
    const QStringList data =
        a ? QStringList{QStringLiteral("1"), QStringLiteral("30"), QStringLiteral("0"),
                        QStringLiteral("616C6661"), QStringLiteral("Primer aviso")}
          : QStringList{QStringLiteral("12"), QStringLiteral("5"), QStringLiteral("45"),
                        QStringLiteral("636F6E7472617365F1612D62657461"),
                        QStringLiteral("Segundo aviso, algo más largo; con \"comillas\"")};
    const QStringList names = {QStringLiteral("hh"), QStringLiteral("mm"), QStringLiteral("ss"),
                               QStringLiteral("BlockPass"), QStringLiteral("TextPerson")};
    SettingsStore::Values values;
    for (qsizetype i = 0; i < names.size(); ++i) {
        values.append({key + names[i], data[i]});
    }
    return values;
}
