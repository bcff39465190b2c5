#include "platform/linux/sound.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

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

LinuxSound::LinuxSound() {
    limit_.setSingleShot(true);
    limit_.setInterval(30000);
    connect(&limit_, &QTimer::timeout, this, &LinuxSound::release);
}

LinuxSound::~LinuxSound() = default;

void LinuxSound::play(const QString& file) {
    if (QMediaDevices::audioOutputs().isEmpty()) {
        return;  // nothing could be heard
    }
    release();
    const QString chosen = soundToPlay(file);
    effect_ = std::make_unique<QSoundEffect>();
    connect(effect_.get(), &QSoundEffect::playingChanged, this, [this] {
        if (effect_ && !effect_->isPlaying() && effect_->status() == QSoundEffect::Ready) {
            // Released once the event that reported the end has returned.
            QTimer::singleShot(0, this, &LinuxSound::release);
        }
    });
    connect(effect_.get(), &QSoundEffect::statusChanged, this, [this] {
        if (effect_ && effect_->status() == QSoundEffect::Error) {
            QTimer::singleShot(0, this, &LinuxSound::release);
        }
    });
    effect_->setSource(chosen.startsWith(u':') ? QUrl(QStringLiteral("qrc") + chosen)
                                               : QUrl::fromLocalFile(chosen));
    effect_->setLoopCount(1);
    effect_->play();
    limit_.start();
}

void LinuxSound::release() {
    limit_.stop();
    if (effect_) {
        effect_->stop();
        effect_.reset();
    }
}
