#include "platform/linux/basic.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include <ctime>
#include <filesystem>
#include <system_error>

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
    QMessageBox box(
        icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information, title,
        text, QMessageBox::Ok, parent);
    // A message from a topmost window must not hide behind it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

bool LinuxOpener::open(const QUrl& target) {
    return QDesktopServices::openUrl(target);
}

QString LinuxPaths::executableFolder() {
    return QCoreApplication::applicationDirPath();
}

QString LinuxPaths::programFolder() {
    // Beside the executable when its files lie there (build tree, portable copy); otherwise
    // the installed data folder.
    const QString beside = executableFolder();
    if (QFileInfo::exists(beside + QStringLiteral("/nodav.wav"))) {
        return beside;
    }
    const QString installed = QStringLiteral(TEMPIX_DATA_DIR);
    if (QFileInfo::exists(installed)) {
        return installed;
    }
    // Installed somewhere else than configured: the data folder relative to bin/.
    return QDir(beside + QStringLiteral("/../share/nodavia-tempix")).absolutePath();
}

QString LinuxFiles::copyReplacing(const QString& source, const QString& destination) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path from = source.toStdString();
    const fs::path to = destination.toStdString();
    if (fs::equivalent(from, to, error)) {
        return {};  // the file is already there: copying it onto itself would truncate it
    }
    error.clear();
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    if (error) {
        return QString::fromStdString(error.message());
    }
    return {};
}

void LinuxApp::quit() {
    QCoreApplication::exit(0);
}
