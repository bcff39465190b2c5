#pragma once

#include "platform/services.h"

#include <QObject>
#include <QTimer>

#include <memory>

class QSoundEffect;

// Which file to play: the given one when it is a readable WAV file, else the default sound.
QString soundToPlay(const QString& file);
inline const QString kDefaultSound = QStringLiteral(":/sounds/default.wav");

// Plays WAV files with QSoundEffect, created when first needed and released when done: an
// open audio stream would wake the program all day.
class LinuxSound : public QObject, public SoundService {
    Q_OBJECT
public:
    LinuxSound();
    ~LinuxSound() override;
    void play(const QString& file) override;
    // Is a sound effect held (playing, or waiting to be let go)?
    bool busy() const { return effect_ != nullptr; }

private:
    void release();

    std::unique_ptr<QSoundEffect> effect_;
    // Without an audio device an effect reports itself playing for ever: it is let go after
    // a while in any case.
    QTimer limit_;
};
