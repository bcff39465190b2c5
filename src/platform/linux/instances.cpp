#include "platform/linux/instances.h"

#include "platform/linux/basic.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sortable by start: milliseconds of the boot clock (the wall clock can be set back, and an
// instance started after that would sort before a running one), then the process number.
QString stampName(qint64 stamp, qint64 pid) {
    return QStringLiteral("%1-%2.lock")
        .arg(stamp, 15, 10, QChar(u'0'))
        .arg(pid, 10, 10, QChar(u'0'));
}

enum class LockState { Held, Abandoned, Empty, NotALock };

// QLockFile keeps an flock on its file for as long as it holds it; a process that ended, killed
// or not, holds none, whatever its file says. The look takes a shared flock for a moment, as
// QLockFile itself does to tell a stale lock, and neither follows a link nor waits on a FIFO.
LockState stateOf(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return LockState::NotALock;
    }
    LockState state = LockState::NotALock;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
            state = LockState::Held;
        } else {
            state = st.st_size == 0 ? LockState::Empty : LockState::Abandoned;
        }
    }
    ::close(fd);
    return state;
}

// Does a living process hold this instance lock? One that nobody holds is stale at once and is
// removed. An empty one may be a start of this very moment, between making its file and
// locking it (QLockFile writes the file only once it holds the lock): a second look a moment
// later tells.
bool heldOrCleared(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    LockState state = stateOf(name);
    if (state == LockState::Empty) {
        ::usleep(100'000);
        state = stateOf(name);
    }
    if (state == LockState::Abandoned || state == LockState::Empty) {
        ::unlink(name.constData());
    }
    return state == LockState::Held;
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
    // Instances ended by a signal leave their locks behind: cleared at every start.
    for (const QString& name : lockNames()) {
        if (name != ownName_) {
            heldOrCleared(folder_ + u'/' + name);
        }
    }
}

LinuxInstances::~LinuxInstances() = default;

QStringList LinuxInstances::lockNames() const {
    return QDir(folder_).entryList({QStringLiteral("*.lock")}, QDir::Files, QDir::Name);
}

bool LinuxInstances::earlierInstanceRunning() {
    for (const QString& name : lockNames()) {
        if (name >= ownName_) {
            break;  // sorted: the rest started after us
        }
        if (heldOrCleared(folder_ + u'/' + name)) {
            return true;
        }
    }
    return false;
}
