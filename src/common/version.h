#pragma once

#include <QString>

// The version text: major, minor and revision joined by "." without leading zeros.
QString versionText(int major, int minor, int revision);
QString versionText();  // of this build

// "Nodavia Tempix v" followed by the version text: the caption of most windows.
QString versionCaption();
