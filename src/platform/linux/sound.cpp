#include "platform/linux/sound.h"

#include "platform/linux/basic.h"

#include <QFile>
#include <QtEndian>

#include <dlfcn.h>

namespace {

quint32 le32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 le16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// A RIFF/WAVE file whose format the player knows and whose sound data is all there: a file
// cut short or with a damaged header would play nothing.
bool playableWave(QFile& f) {
    const QByteArray head = f.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") {
        return false;
    }
    bool format = false;
    const qint64 size = f.size();
    while (f.pos() + 8 <= size) {
        const QByteArray chunk = f.read(8);
        const qint64 length = le32(chunk, 4);
        const qint64 start = f.pos();
        if (chunk.startsWith("fmt ")) {
            const QByteArray fmt = f.read(16);
            if (length < 16 || fmt.size() < 16) {
                return false;
            }
            const quint16 tag = le16(fmt, 0);
            const quint16 channels = le16(fmt, 2);
            const quint16 bits = le16(fmt, 14);
            format = (tag == 1 || tag == 3 || tag == 0xFFFE) && channels > 0 && le32(fmt, 4) > 0 &&
                     bits > 0 && bits % 8 == 0 && bits <= 32;
            if (!format) {
                return false;
            }
        } else if (chunk.startsWith("data")) {
            return format && length > 0 && start + length <= size;
        }
        // Chunks are padded to an even length.
        if (!f.seek(start + length + (length & 1))) {
            return false;
        }
    }
    return false;
}

// Loads the player module. Nothing when it cannot be loaded, and why in failure.
std::unique_ptr<SoundService> loadPlayer(const QString& path, QString& failure) {
    void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        failure = QStringLiteral("no se puede cargar el módulo de sonido (%1)")
                      .arg(QString::fromLocal8Bit(dlerror()));
        return nullptr;
    }
    // The module stays loaded for the rest of the program.
    using Create = SoundService* (*)();
    auto create = reinterpret_cast<Create>(dlsym(module, "tempix_create_sound"));
    if (!create) {
        failure = QStringLiteral("el módulo de sonido %1 no es el de este programa").arg(path);
        return nullptr;
    }
    std::unique_ptr<SoundService> player(create());
    if (!player) {
        failure = QStringLiteral("el módulo de sonido %1 no pudo crear el reproductor").arg(path);
    }
    return player;
}

}  // namespace

QString soundToPlay(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || !playableWave(f)) {
        return kDefaultSound;
    }
    return file;
}

QString soundModulePath() {
    return LinuxPaths().moduleFolder() + QStringLiteral("/tempix-sound.so");
}

LinuxSound::LinuxSound(QString module) : module_(std::move(module)) {}

LinuxSound::~LinuxSound() = default;

void LinuxSound::play(const QString& file) {
    if (!tried_) {
        tried_ = true;
        player_ = loadPlayer(module_, failure_);
    }
    if (player_) {
        player_->play(soundToPlay(file));
    } else {
        reportSilence(failure_);
    }
}
