#pragma once

#include "platform/services.h"

#include <memory>

// Which file to play: the given one when it is a readable WAV file, else the default sound.
QString soundToPlay(const QString& file);
inline const QString kDefaultSound = QStringLiteral(":/sounds/default.wav");

// Plays WAV files with QSoundEffect. The player lives in a module compiled into the program
// and loaded at the first sound, so nothing of Qt Multimedia is in memory until then.
class LinuxSound : public SoundService {
public:
    LinuxSound();
    ~LinuxSound() override;
    void play(const QString& file) override;
    // Was the player loaded?
    bool loaded() const { return player_ != nullptr; }

private:
    std::unique_ptr<SoundService> player_;
    bool tried_ = false;
};
