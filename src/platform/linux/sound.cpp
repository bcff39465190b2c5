#include "platform/linux/sound.h"

#include <QFile>

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>

QString soundToPlay(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        return kDefaultSound;
    }
    const QByteArray head = f.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") {
        return kDefaultSound;
    }
    return file;
}

namespace {

// Loads the player module from the program's resources through an anonymous in-memory file:
// nothing is written to disk. Nothing when it cannot be loaded; the alert then stays silent.
std::unique_ptr<SoundService> loadPlayer() {
    QFile embedded(QStringLiteral(":/sound/tempix-sound.so"));
    if (!embedded.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    const QByteArray image = embedded.readAll();
    const int fd = memfd_create("tempix-sound", MFD_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    qsizetype written = 0;
    while (written < image.size()) {
        const ssize_t n =
            write(fd, image.constData() + written, static_cast<size_t>(image.size() - written));
        if (n <= 0) {
            close(fd);
            return nullptr;
        }
        written += n;
    }
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    close(fd);  // the loaded module keeps its own mapping
    if (!module) {
        return nullptr;
    }
    // The module stays loaded for the rest of the program.
    using Create = SoundService* (*)();
    auto create = reinterpret_cast<Create>(dlsym(module, "tempix_create_sound"));
    return create ? std::unique_ptr<SoundService>(create()) : nullptr;
}

}  // namespace

LinuxSound::LinuxSound() = default;

LinuxSound::~LinuxSound() = default;

void LinuxSound::play(const QString& file) {
    if (!tried_) {
        tried_ = true;
        player_ = loadPlayer();
    }
    if (player_) {
        player_->play(soundToPlay(file));
    }
}
