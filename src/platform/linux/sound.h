#pragma once

#include "platform/services.h"

#include <cstdio>
#include <memory>

// Which file to play: the given one when it is a WAV file with sound data in it, else the
// default sound.
QString soundToPlay(const QString& file);
inline const QString kDefaultSound = QStringLiteral(":/sounds/default.wav");

// Says on standard error why the alert's sound cannot be heard. Inline: the player module
// uses it too.
inline void reportSilence(const QString& why) {
    std::fprintf(stderr, "tempix: no se puede reproducir el sonido del aviso: %s\n",
                 qPrintable(why));
    std::fflush(stderr);
}

// The player module, in the program's module folder.
QString soundModulePath();

// Plays WAV files with QSoundEffect. The player is a module file of its own, loaded at the
// first sound, so nothing of Qt Multimedia is in memory until then.
class LinuxSound : public SoundService {
public:
    explicit LinuxSound(QString module = soundModulePath());
    ~LinuxSound() override;
    void play(const QString& file) override;
    // Was the player loaded?
    bool loaded() const { return player_ != nullptr; }

private:
    QString module_;
    QString failure_;  // why the player could not be loaded
    std::unique_ptr<SoundService> player_;
    bool tried_ = false;
};
