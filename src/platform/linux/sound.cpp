#include "platform/linux/sound.h"

void LinuxSound::play(const QString&) {}
