#include "platform/linux/instances.h"

#include "platform/linux/basic.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

// Sortable by start: milliseconds of the boot clock (the wall clock can be set back, and an
// instance started after that would sort before a running one), then the process number.
QString stampName(qint64 stamp, qint64 pid) {
    return QStringLiteral("%1-%2.lock")
        .arg(stamp, 15, 10, QChar(u'0'))
        .arg(pid, 10, 10, QChar(u'0'));
}

}  // namespace

LinuxInstances::LinuxInstances() {
    folder_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
              QStringLiteral("/nodavia-tempix");
    QDir().mkpath(folder_);
    ownStamp_ = LinuxTicks().milliseconds();
    ownName_ = stampName(ownStamp_, QCoreApplication::applicationPid());
    own_ = std::make_unique<QLockFile>(folder_ + u'/' + ownName_);
    own_->setStaleLockTime(0);
    own_->tryLock(0);
}

LinuxInstances::~LinuxInstances() = default;

bool LinuxInstances::earlierInstanceRunning() {
    const QStringList names =
        QDir(folder_).entryList({QStringLiteral("*.lock")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (name >= ownName_) {
            break;  // sorted: the rest started after us
        }
        QLockFile probe(folder_ + u'/' + name);
        probe.setStaleLockTime(0);  // a living instance's lock never goes stale with age
        if (probe.tryLock(0)) {
            probe.unlock();  // the lock of an instance that died: removed
        } else if (probe.error() == QLockFile::LockFailedError) {
            return true;
        }
    }
    return false;
}
