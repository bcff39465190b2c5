#pragma once

#include "platform/services.h"

// Plays WAV files with QSoundEffect, created when first needed.
class LinuxSound : public SoundService {
public:
    void play(const QString& file) override;
};
