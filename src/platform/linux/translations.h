#pragma once

#include <QCoreApplication>

// Qt's own texts (message box buttons, the text boxes' context menu) in Spanish whatever the
// system locale, since the whole interface is Spanish. Without Qt's translation file they stay
// in English.
void installQtTranslations(QCoreApplication& app);
