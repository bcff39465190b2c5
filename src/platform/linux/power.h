#pragma once

#include "platform/services.h"

// Power-off and restart through systemd-logind on the system bus; systemctl only when logind
// has refused or cannot be reached.
class LinuxPower : public PowerService {
public:
    void powerOff() override;
    void reboot() override;

private:
    void request(PowerRequest request);
    void fallBack(PowerRequest request, const QString& busError);
    bool undecided_ = false;
};
