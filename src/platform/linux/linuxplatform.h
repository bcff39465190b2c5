#pragma once

// Every real service of the program, built once in main().

#include "platform/linux/basic.h"
#include "platform/linux/instances.h"
#include "platform/linux/notifier.h"
#include "platform/linux/power.h"
#include "platform/linux/screenlock.h"
#include "platform/linux/sound.h"
#include "platform/linux/store.h"
#include "platform/linux/tray.h"

struct LinuxPlatform {
    // trayPictures: made when the icon is first shown. notice: the picture of the program's
    // notifications.
    LinuxPlatform(std::function<TrayPictures()> trayPictures, QIcon notice)
        : tray(std::move(trayPictures)), notifier(std::move(notice)) {}
    LinuxTicks ticks;
    LinuxClock clock;
    LinuxMessages messages;
    LinuxPower power;
    LinuxStore store;
    LinuxTray tray;
    LinuxOpener opener;
    LinuxSound sound;
    LinuxInstances instances;
    LinuxPaths paths;
    LinuxFiles files;
    LinuxApp app;
    LinuxNotifier notifier;
    LinuxScreenLock screenLock;
    Platform platform{ticks, clock,     messages, power, store, tray,     opener,
                      sound, instances, paths,    files, app,   notifier, screenLock};
};
