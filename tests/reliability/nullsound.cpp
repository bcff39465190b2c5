// A sound module that loads but makes no player, for the fault tests.
#include "platform/services.h"
extern "C" Q_DECL_EXPORT SoundService* tempix_create_sound() {
    return nullptr;
}
