// The part of the sound service that needs Qt Multimedia. It is a module file of its own,
// loaded at the first sound: linked into the program, Qt Multimedia and its codec libraries
// would be mapped from the start and cost every user memory all day.

#include "platform/linux/sound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

class QtSound : public QObject, public SoundService {
public:
    QtSound() {
        // Without an audio device an effect reports itself playing for ever: it is let go
        // after a while in any case.
        limit_.setSingleShot(true);
        limit_.setInterval(30000);
        connect(&limit_, &QTimer::timeout, this, &QtSound::release);
    }

    void play(const QString& file) override {
        if (QMediaDevices::audioOutputs().isEmpty()) {
            reportSilence(QStringLiteral("no hay ninguna salida de audio"));
            return;
        }
        release();
        effect_ = std::make_unique<QSoundEffect>();
        connect(effect_.get(), &QSoundEffect::playingChanged, this, [this] {
            if (effect_ && !effect_->isPlaying() && effect_->status() == QSoundEffect::Ready) {
                // Released once the event that reported the end has returned.
                QTimer::singleShot(0, this, &QtSound::release);
            }
        });
        connect(effect_.get(), &QSoundEffect::statusChanged, this, [this, file] {
            if (effect_ && effect_->status() == QSoundEffect::Error) {
                // A file the player cannot read after all: the default sound instead.
                QTimer::singleShot(0, this, [this, file] {
                    release();
                    if (file != kDefaultSound) {
                        play(kDefaultSound);
                    } else {
                        reportSilence(QStringLiteral("no se puede leer el sonido"));
                    }
                });
            }
        });
        effect_->setSource(file.startsWith(u':') ? QUrl(QStringLiteral("qrc") + file)
                                                 : QUrl::fromLocalFile(file));
        effect_->setLoopCount(1);
        effect_->play();
        limit_.start();
    }

private:
    void release() {
        limit_.stop();
        if (effect_) {
            effect_->stop();
            effect_.reset();
        }
    }

    std::unique_ptr<QSoundEffect> effect_;
    QTimer limit_;
};

}  // namespace

extern "C" Q_DECL_EXPORT SoundService* tempix_create_sound() {
    return new QtSound;
}
