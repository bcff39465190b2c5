#include "platform/linux/store.h"

#include <QSettings>

namespace {
const QString kUserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\");

QString keyOf(const QString& name) {
    return name.mid(kUserKey.size());
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
