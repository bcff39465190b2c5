#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, compiled in as resources.
QIcon idleIcon();             // the About window's icon, also the idle tray and window icon
QIcon trayFrame(int number);  // tray animation frames 0 to 3
QPixmap logoPicture();        // the program logo shown in several windows
QPixmap aboutBackground();    // the About window's background; the window takes its size
QPixmap lockEmblem();         // the lock window's emblem, 125 x 161
QPixmap lockTile();           // the lock window's background, one colour, 5 x 2000
