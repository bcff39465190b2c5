#pragma once

#include "platform/services.h"

// Power-off and restart through systemd-logind on the system bus, falling back to systemctl.
class LinuxPower : public PowerService {
public:
    QString powerOff() override;
    QString reboot() override;

private:
    QString request(const QString& logindMethod, const QString& systemctlVerb);
};
