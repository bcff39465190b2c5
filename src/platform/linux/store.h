#pragma once

#include "platform/services.h"

#include <QString>

// The per-user values in a QSettings file of texts only ($XDG_CONFIG_HOME/Nodavia/Tempix.conf,
// the lines and escapes of QSettings' own format, no value ever taken for a serialized Qt
// type), one string per value name; the logon start-up entry as the XDG autostart file
// $XDG_CONFIG_HOME/autostart/nodavia-tempix.desktop. Every operation opens the file afresh, so
// what another object or process wrote is seen at once.
class LinuxStore : public SettingsStore {
public:
    using SettingsStore::write;
    std::optional<QString> read(const QString& name) override;
    bool write(const Values& values) override;
    bool remove(const QString& name) override;

    // Where the values and the start-up entry live.
    static QString settingsFile();
    static QString autostartFile();
};

// The Exec value of a desktop entry that runs `program` with no arguments, quoted and escaped
// as desktop entries require; and back.
QString desktopExecValue(const QString& program);
std::optional<QString> desktopExecProgram(const QString& execValue);
