#include "platform/linux/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString kUserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\");

QString keyOf(const QString& name) {
    return name.mid(kUserKey.size());
}

// The file holds the encoded password: it is created readable by the user only. Later saves
// replace it through a temporary file that keeps these permissions.
void createPrivately(const QString& fileName) {
    if (QFileInfo::exists(fileName)) {
        return;
    }
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    file.open(QIODevice::WriteOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
}  // namespace

std::optional<QString> LinuxStore::read(const QString& name) {
    QSettings settings;
    const QVariant v = settings.value(keyOf(name));
    if (!v.isValid() || v.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return v.toString();
}

bool LinuxStore::write(const Values& values) {
    QSettings settings;
    createPrivately(settings.fileName());
    for (const auto& [name, data] : values) {
        settings.setValue(keyOf(name), data);
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool LinuxStore::remove(const QString& name) {
    QSettings settings;
    if (!settings.contains(keyOf(name))) {
        return false;
    }
    settings.remove(keyOf(name));
    settings.sync();
    return settings.status() == QSettings::NoError;
}
