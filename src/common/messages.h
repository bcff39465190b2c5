#pragma once

#include <QString>

// Titles of the program's message boxes.
inline const QString kTitle = QStringLiteral("Nodavia Tempix");
inline const QString kShortTitle = QStringLiteral("Tempix");
