#include "platform/linux/store.h"

#include "platform/linux/textsformat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

namespace {

const QString kUserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Nodavia\\Tempix\\");
const QString kRunEntry = QStringLiteral(
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Nodavia Tempix");

// The key of a per-user value in the file; nothing for a name outside the per-user key or one
// that QSettings would take for a group ("/" and "\" separate groups).
std::optional<QString> userKey(const QString& name) {
    if (!name.startsWith(kUserKey)) {
        return std::nullopt;
    }
    QString key = name.mid(kUserKey.size());
    if (key.isEmpty() || key.contains(u'\\') || key.contains(u'/')) {
        return std::nullopt;
    }
    return key;
}

// Something other than a file in the file's place (a FIFO would block the first read until a
// writer comes, a device never ends): the store cannot be used.
bool isFileOrAbsent(const QString& fileName) {
    struct stat st {};
    return ::stat(QFile::encodeName(fileName).constData(), &st) != 0 ? errno == ENOENT
                                                                     : S_ISREG(st.st_mode);
}

// QSettings waits on its lock file ("Tempix.conf.lock") for as long as it takes, and QLockFile
// reads it and the one it takes to remove a stale lock ("Tempix.conf.lock.rmlock"): a folder, a
// FIFO or a link (to /dev/zero, say) in their place would freeze the save for ever, or fill the
// memory. Then no save can be made.
bool locksArePlainFiles(const QString& fileName) {
    for (const QString& name :
         {fileName + QStringLiteral(".lock"), fileName + QStringLiteral(".lock.rmlock")}) {
        struct stat st {};
        if (::lstat(QFile::encodeName(name).constData(), &st) == 0 ? !S_ISREG(st.st_mode)
                                                                   : errno != ENOENT) {
            return false;
        }
    }
    return true;
}

// One look at the file. Opening it re-reads it when another object or process changed it
// (QSettings compares size and modification time). No fallback to other files: a value the
// user's file lacks is missing.
class Settings : public QSettings {
public:
    Settings() : QSettings(LinuxStore::settingsFile(), textsFormat()) {}
};

// The file holds the encoded password: nobody but the user may read it. It is made before
// QSettings writes it for the first time, since QSaveFile keeps the permissions of the file it
// replaces; a file that others can read (an older copy, a hand-made one) is closed to them.
void keepPrivate(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists()) {
        QDir().mkpath(info.absolutePath());
        QFile file(fileName);
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return;
    }
    constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (info.isFile() && (info.permissions() & others)) {
        QFile::setPermissions(fileName, info.permissions() & ~others);
    }
}

// A lock file of QLockFile that names no process and that no process holds: its owner was
// killed between creating it and writing its process number into it, and QLockFile would wait
// 30 seconds for it to grow stale (one naming a dead process it already ignores). QLockFile
// holds an flock on its file from just after creating it.
void removeIfAbandoned(const QString& lockName) {
    const QByteArray path = QFile::encodeName(lockName);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return;
    }
    char text[32] = {};
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    bool namesProcess = false;
    QByteArray(text, std::max<ssize_t>(got, 0)).split('\n').first().toLongLong(&namesProcess);
    struct stat opened {};
    struct stat named {};
    if (!namesProcess && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
        ::stat(path.constData(), &named) == 0 && opened.st_ino == named.st_ino &&
        opened.st_dev == named.st_dev) {
        ::unlink(path.constData());
    }
    ::close(fd);
}

// Leftovers of a save that was killed: the lock file and the one QLockFile takes to remove a
// stale lock ("Tempix.conf.lock.rmlock"), at once; temporary copies after a minute.
void clearAbandonedFiles(const QString& fileName) {
    const QString lockName = fileName + QStringLiteral(".lock");
    removeIfAbandoned(lockName + QStringLiteral(".rmlock"));
    removeIfAbandoned(lockName);
    // A save killed before its rename leaves its temporary copy ("Tempix.conf.XXXXXX"); one
    // older than a minute belongs to no save still running.
    const QFileInfo settings(fileName);
    const QDir folder = settings.absoluteDir();
    const QStringList stale = folder.entryList({settings.fileName() + QStringLiteral(".??????")},
                                               QDir::Files | QDir::Hidden);
    for (const QString& name : stale) {
        const QFileInfo copy(folder.filePath(name));
        if (name != QFileInfo(lockName).fileName() &&
            copy.lastModified().secsTo(QDateTime::currentDateTime()) > 60) {
            QFile::remove(copy.filePath());
        }
    }
}

using KeyValues = QList<std::pair<QString, QString>>;

// Did the save reach the file whole? QSaveFile commits a file whose last bytes the system
// refused (a full disk, a size limit): the short write at its final flush goes unreported. The
// file is read back: it holds what was written or, when another process has saved since, what
// that one wrote; never only the start of ours.
bool savedWhole(const QString& fileName, const QSettings& settings) {
    QSettings::SettingsMap values;
    for (const QString& key : settings.allKeys()) {
        values.insert(key, settings.value(key));
    }
    const QByteArray written = textsFileContents(values);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray onDisk = file.readAll();
    return onDisk == written || !written.startsWith(onDisk);
}

// Puts the old file back in place of a cut one: the second name it was given before the
// save, or else its bytes (there is room for them, as their own place was just given back).
void restore(const QString& fileName, const QString& keptName, bool kept,
             const std::optional<QByteArray>& old) {
    if (kept && ::rename(QFile::encodeName(keptName).constData(),
                         QFile::encodeName(fileName).constData()) == 0) {
        return;
    }
    if (!old) {
        QFile::remove(fileName);
        return;
    }
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(*old) == old->size()) {
        file.commit();
    }
}

bool writeUserValues(const KeyValues& values) {
    const QString fileName = LinuxStore::settingsFile();
    if (!isFileOrAbsent(fileName) || !locksArePlainFiles(fileName)) {
        return false;
    }
    keepPrivate(fileName);
    clearAbandonedFiles(fileName);
    std::optional<QByteArray> oldBytes;
    if (QFile old(fileName); old.open(QIODevice::ReadOnly)) {
        oldBytes = old.readAll();
    }
    // A second name for the old file costs no room and lets a cut save be undone exactly.
    const QString keptName = fileName + QStringLiteral(".previous");
    QFile::remove(keptName);
    const bool kept = oldBytes && ::link(QFile::encodeName(fileName).constData(),
                                         QFile::encodeName(keptName).constData()) == 0;
    Settings settings;
    QList<std::pair<QString, std::optional<QVariant>>> before;
    for (const auto& [key, data] : values) {
        before.append(
            {key, settings.contains(key) ? std::optional(settings.value(key)) : std::nullopt});
        settings.setValue(key, data);
    }
    // One sync: QSettings writes the whole file through QSaveFile, so either every value of
    // the group is stored or the old file stays as it was (a file cut short is caught below).
    settings.sync();
    const bool written = settings.status() == QSettings::NoError;
    if (written && savedWhole(fileName, settings)) {
        QFile::remove(keptName);
        return true;
    }
    if (written) {
        // QSettings takes the cut file for the stored one; the restored file has another
        // size or time, so the next object of the file reads it again.
        restore(fileName, keptName, kept, oldBytes);
        return false;
    }
    QFile::remove(keptName);
    // QSettings keeps changes it could not write in a cache that every later QSettings
    // object of this file shares: the next read would report them and the next write that
    // succeeds would store them. Take them back to what the file held.
    for (auto it = before.crbegin(); it != before.crend(); ++it) {
        if (it->second) {
            settings.setValue(it->first, *it->second);
        } else {
            settings.remove(it->first);
        }
    }
    return false;
}

bool removeUserValue(const QString& key) {
    if (!isFileOrAbsent(LinuxStore::settingsFile()) ||
        !locksArePlainFiles(LinuxStore::settingsFile())) {
        return false;
    }
    clearAbandonedFiles(LinuxStore::settingsFile());
    Settings settings;
    if (!settings.contains(key)) {
        return false;
    }
    const QVariant old = settings.value(key);
    settings.remove(key);
    settings.sync();
    if (settings.status() == QSettings::NoError) {
        return true;
    }
    settings.setValue(key, old);  // as after a failed write
    return false;
}

// Characters that make the Exec program an argument that must be quoted, and those that must
// be escaped inside the quotes.
const QString kReserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
const QString kEscapedInQuotes = QStringLiteral("\"`$\\");

// A string value of a desktop entry: its own escapes for backslash and control characters.
QString desktopStringValue(const QString& text) {
    QString value;
    for (QChar c : text) {
        switch (c.unicode()) {
            case u'\\':
                value += QStringLiteral("\\\\");
                break;
            case u'\n':
                value += QStringLiteral("\\n");
                break;
            case u'\t':
                value += QStringLiteral("\\t");
                break;
            case u'\r':
                value += QStringLiteral("\\r");
                break;
            default:
                value += c;
        }
    }
    return value;
}

bool writeEntry(const QString& program) {
    const QString fileName = LinuxStore::autostartFile();
    if (!QDir().mkpath(QFileInfo(fileName).absolutePath())) {
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // TryExec: once the program is removed, the session skips the entry instead of trying to
    // start a missing program. Entries of earlier versions have only Exec; they are read the
    // same and get both keys the next time the program writes the entry.
    const QByteArray text =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Nodavia Tempix\n"
        "Exec=" +
        desktopExecValue(program).toUtf8() +
        "\n"
        "TryExec=" +
        desktopStringValue(program).toUtf8() +
        "\n"
        "Icon=nodavia-tempix\n";
    return file.write(text) == text.size() && file.commit();
}

std::optional<QString> readEntry() {
    QFile file(LinuxStore::autostartFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == u"[Desktop Entry]";
            continue;
        }
        const auto equals = line.indexOf(u'=');
        if (inEntry && equals > 0 && QStringView(line).first(equals).trimmed() == u"Exec") {
            return desktopExecProgram(QStringView(line).sliced(equals + 1).trimmed().toString());
        }
    }
    return std::nullopt;
}

}  // namespace

QString desktopExecValue(const QString& program) {
    QString argument = program;
    if (program.isEmpty() || std::any_of(program.cbegin(), program.cend(),
                                         [](QChar c) { return kReserved.contains(c); })) {
        argument = QStringLiteral("\"");
        for (QChar c : program) {
            if (kEscapedInQuotes.contains(c)) {
                argument += u'\\';
            }
            argument += c;
        }
        argument += u'"';
    }
    argument.replace(u'%', QStringLiteral("%%"));  // "%" starts a field code
    // The value is a string of the desktop entry first: its own escapes come on top.
    return desktopStringValue(argument);
}

std::optional<QString> desktopExecProgram(const QString& execValue) {
    QString argument;  // the string escapes undone
    for (qsizetype i = 0; i < execValue.size(); ++i) {
        const QChar c = execValue[i];
        if (c != u'\\' || i + 1 == execValue.size()) {
            argument += c;
            continue;
        }
        switch (execValue[++i].unicode()) {
            case u's':
                argument += u' ';
                break;
            case u'n':
                argument += u'\n';
                break;
            case u't':
                argument += u'\t';
                break;
            case u'r':
                argument += u'\r';
                break;
            case u'\\':
                argument += u'\\';
                break;
            default:
                argument += u'\\';
                argument += execValue[i];
        }
    }
    QString program;
    if (argument.startsWith(u'"')) {
        qsizetype i = 1;
        for (; i < argument.size() && argument[i] != u'"'; ++i) {
            if (argument[i] == u'\\' && i + 1 < argument.size() &&
                kEscapedInQuotes.contains(argument[i + 1])) {
                ++i;
            }
            program += argument[i];
        }
        if (i == argument.size()) {
            return std::nullopt;  // no closing quote
        }
    } else {
        program = argument.section(u' ', 0, 0, QString::SectionSkipEmpty);
    }
    program.replace(QStringLiteral("%%"), QStringLiteral("%"));
    if (program.isEmpty()) {
        return std::nullopt;
    }
    return program;
}

QString LinuxStore::settingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Nodavia/Tempix.conf");
}

QString LinuxStore::autostartFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/nodavia-tempix.desktop");
}

std::optional<QString> LinuxStore::read(const QString& name) {
    if (name == kRunEntry) {
        return readEntry();
    }
    const auto key = userKey(name);
    if (!key || !isFileOrAbsent(settingsFile())) {
        return std::nullopt;
    }
    const QVariant v = Settings().value(*key);
    // Only a text is a value: a hand-edited "a, b" (a list) or "@Variant(...)" is not.
    if (v.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return v.toString();
}

bool LinuxStore::write(const Values& values) {
    KeyValues user;
    std::optional<QString> entry;
    for (const auto& [name, data] : values) {
        if (name == kRunEntry) {
            entry = data;
        } else if (const auto key = userKey(name)) {
            user.append({*key, data});
        } else {
            return false;
        }
    }
    // The per-user values are one group; the start-up entry is a file of its own, written
    // only once they are stored.
    if (!user.isEmpty() && !writeUserValues(user)) {
        return false;
    }
    return !entry || writeEntry(*entry);
}

bool LinuxStore::remove(const QString& name) {
    if (name == kRunEntry) {
        return QFile::remove(autostartFile());
    }
    const auto key = userKey(name);
    return key && removeUserValue(*key);
}
