#include "platform/linux/basic.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

qint64 LinuxTicks::milliseconds() {
    // Boot time keeps counting through suspend, so an alert that ends while the machine
    // sleeps completes at the first tick after resume.
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

QDateTime LinuxClock::now() {
    return QDateTime::currentDateTime();
}

void LinuxMessages::show(QWidget* parent, const QString& text, MessageIcon icon,
                         const QString& title) {
    // A box is placed over its parent: one whose parent is not on screen (a window still
    // loading, or hidden in the tray) goes to the middle of the screen instead.
    QWidget* owner = parent && parent->window()->isVisible() ? parent : nullptr;
    QMessageBox box(
        icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information, title,
        text, QMessageBox::Ok, owner);
    // A message from a topmost window must not hide behind it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

bool LinuxOpener::open(const QUrl& target) {
    return QDesktopServices::openUrl(target);
}

QString LinuxPaths::executableFolder() {
    // Empty for a name that is not valid UTF-8: Qt finds no file under the decoded name.
    return QCoreApplication::applicationDirPath();
}

QString LinuxPaths::programFolder() {
    // Beside the executable when its files lie there (build tree, portable copy); otherwise
    // the installed data folder.
    const QString beside = executableFolder();
    if (QFileInfo::exists(beside + QStringLiteral("/nodav.wav"))) {
        return beside;
    }
    // The data folder of the prefix the program was installed into, which need not be the
    // one the build was configured for: a second installation elsewhere uses its own files.
    const QString relative =
        QDir(beside + QStringLiteral("/../share/nodavia-tempix")).absolutePath();
    if (QFileInfo(relative).isDir()) {
        return relative;
    }
    return QStringLiteral(TEMPIX_DATA_DIR);
}

QString LinuxPaths::moduleFolder() {
    // Beside the executable when the player lies there (build tree, portable copy); otherwise
    // the library folder of the prefix the program runs from, else of the one it was built for.
    const QString beside = executableFolder();
    if (QFileInfo::exists(beside + QStringLiteral("/tempix-sound.so"))) {
        return beside;
    }
    const QString relative =
        QDir(beside + QStringLiteral("/../" TEMPIX_MODULE_SUBDIR)).absolutePath();
    if (QFileInfo(relative).isDir()) {
        return relative;
    }
    return QStringLiteral(TEMPIX_MODULE_DIR);
}

namespace {

// Why a copy failed, in the user's words.
QString copyFailure(int error, const QByteArray& from) {
    switch (error) {
        case ENOENT:
            if (::access(from.constData(), F_OK) != 0) {
                return QStringLiteral("No se encuentra el archivo de origen.");
            }
            return QStringLiteral("La carpeta de destino no existe o ya no está disponible.");
        case ENOTDIR:
            return QStringLiteral("La ruta de destino no es una carpeta.");
        case EISDIR:
            return QStringLiteral("Ya hay una carpeta con ese nombre en el destino.");
        case ENOSPC:
            return QStringLiteral("No queda espacio en el disco.");
        case EDQUOT:
            return QStringLiteral("Se ha superado la cuota de disco.");
        case EACCES:
        case EPERM:
            return QStringLiteral(
                "Permiso denegado: no se puede leer el archivo o escribir en la "
                "carpeta de destino.");
        case EROFS:
            return QStringLiteral("El disco de destino es de solo lectura.");
        case EIO:
            return QStringLiteral(
                "Error de lectura o escritura: puede que el medio se haya "
                "retirado o esté dañado.");
        case ENODEV:
        case ENXIO:
        case ENOMEDIUM:
            return QStringLiteral("El medio no está disponible: puede que se haya retirado.");
        case ETXTBSY:
            return QStringLiteral("El archivo de destino es un programa en marcha.");
        case ENAMETOOLONG:
            return QStringLiteral("El nombre de la ruta es demasiado largo.");
        default:
            return QStringLiteral("Error del sistema %1 (%2).")
                .arg(error)
                .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

// Closes its descriptor when it goes.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    int release() { return std::exchange(fd, -1); }
};

}  // namespace

// A loop of our own rather than std::filesystem::copy_file: that one reports a medium that
// fills up in the middle of a file as an input/output error, and it does not wait for the data
// to reach the medium. The copy is written to a new file beside the destination and renamed
// over it: whatever stood under the name (a symbolic link to a file of someone else's, a
// running program) is replaced, never written through.
QString LinuxFiles::copyReplacing(const QString& source, const QString& destination) {
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    Descriptor in{::open(from.constData(), O_RDONLY | O_CLOEXEC)};
    struct stat origin {};
    if (in.fd < 0 || ::fstat(in.fd, &origin) != 0) {
        return copyFailure(errno, from);
    }
    if (!S_ISREG(origin.st_mode)) {
        return QStringLiteral("El origen no es un archivo.");
    }
    struct stat existing {};
    if (::lstat(to.constData(), &existing) == 0 && existing.st_dev == origin.st_dev &&
        existing.st_ino == origin.st_ino) {
        return {};  // the file is already there
    }
    QByteArray temporary = to + ".XXXXXX";
    Descriptor out{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (out.fd < 0) {
        return copyFailure(errno, from);
    }
    // The mode a new file gets: the source's permissions (the program stays executable) less
    // the user's umask. File systems without permissions refuse or ignore this: no failure.
    const mode_t umaskNow = ::umask(0);
    ::umask(umaskNow);
    ::fchmod(out.fd, origin.st_mode & 0777 & ~umaskNow);

    std::vector<char> buffer(1 << 16);
    int failure = 0;
    while (failure == 0) {
        const ssize_t got = ::read(in.fd, buffer.data(), buffer.size());
        if (got == 0) {
            break;
        }
        if (got < 0) {
            failure = errno == EINTR ? 0 : errno;
            continue;
        }
        for (ssize_t done = 0; done < got && failure == 0;) {
            const ssize_t put = ::write(out.fd, buffer.data() + done, got - done);
            if (put < 0) {
                failure = errno == EINTR ? 0 : errno;
            } else {
                done += put;
            }
        }
    }
    // "Listo!!!" must mean the files are on the medium: a stick may be pulled out at once.
    if (failure == 0 && ::fdatasync(out.fd) != 0 && errno != EINVAL) {
        failure = errno;
    }
    if (::close(out.release()) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && ::rename(temporary.constData(), to.constData()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        // Half a file, above all half a program, is worse than none; the old one stays.
        ::unlink(temporary.constData());
        return copyFailure(failure, from);
    }
    // The new name on the medium too.
    const QByteArray folder = QFile::encodeName(QFileInfo(destination).absolutePath());
    if (const Descriptor dir{::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
        dir.fd >= 0) {
        ::fsync(dir.fd);
    }
    return {};
}

void LinuxApp::quit() {
    QCoreApplication::exit(0);
}
