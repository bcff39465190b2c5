#pragma once

#include "platform/services.h"

#include <QPointer>

#include <chrono>

class QProcess;

// Power-off and restart through systemd-logind on the system bus; systemctl only when logind
// has refused or cannot be reached.
class LinuxPower : public PowerService {
public:
    // systemctl that has not answered within fallbackLimit is ended and counts as a refusal.
    explicit LinuxPower(std::chrono::seconds fallbackLimit = std::chrono::seconds(90));
    ~LinuxPower() override;
    void powerOff() override;
    void reboot() override;

private:
    void request(PowerRequest request);
    void fallBack(PowerRequest request, const QString& busError);
    void endFallback();
    std::chrono::seconds fallbackLimit_;
    quint64 latest_ = 0;           // the number of the latest request
    QPointer<QProcess> fallback_;  // its systemctl, until that has answered
};
