#pragma once

#include "platform/services.h"

// The per-user values in a QSettings file (organisation "Nodavia", application "Tempix"), the
// logon start-up entry as an XDG autostart file.
class LinuxStore : public SettingsStore {
public:
    std::optional<QString> read(const QString& name) override;
    bool write(const Values& values) override;
    bool remove(const QString& name) override;
};
