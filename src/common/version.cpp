#include "common/version.h"

#include "buildversion.h"

QString versionText(int major, int minor, int revision) {
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString versionText() {
    return versionText(kVersionMajor, kVersionMinor, kVersionRevision);
}

QString versionCaption() {
    return QStringLiteral("Nodavia Tempix v") + versionText();
}
