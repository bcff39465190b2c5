#pragma once

#include "platform/services.h"

#include <QLockFile>

#include <memory>

// Each running instance holds a lock file of its own in the runtime folder; an earlier
// instance is one whose lock was taken before ours and is still held by a living process; a
// lock that no living process holds is removed when seen.
class LinuxInstances : public InstanceService {
public:
    LinuxInstances();
    ~LinuxInstances() override;
    bool earlierInstanceRunning() override;

private:
    QStringList lockNames() const;
    QString folder_;
    QString ownName_;
    qint64 ownStamp_ = 0;
    std::unique_ptr<QLockFile> own_;
};
