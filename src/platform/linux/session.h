#pragma once

#include <vector>

// The arguments for the application object: the program's own, and the window system to run
// on. In a Wayland session that has XWayland the program runs on X11, where it can keep its
// windows above the others, centre them and let the lock take the keyboard; a platform the
// user chose (QT_QPA_PLATFORM, -platform) is kept. Without XWayland it runs on Wayland and says
// once on standard error what will not work. The list ends with a null pointer.
std::vector<char*> sessionArguments(int argc, char** argv);

// Is the desktop a Wayland session (the program may still run on its XWayland server)?
bool waylandSession();
