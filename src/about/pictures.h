#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, compiled in as resources.
QIcon idleIcon();             // the About window's icon, also the idle tray icon
QIcon trayFrame(int number);  // tray animation frames 0 to 3
QPixmap logoPicture();        // the program logo shown in several windows
