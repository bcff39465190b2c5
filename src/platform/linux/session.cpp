#include "platform/linux/session.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstring>

namespace {

bool userChosePlatform(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        // Qt takes the option with one dash or two, the name in the next argument.
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return true;
        }
    }
    return false;
}

char platformOption[] = "-platform";
// X11 through XWayland; Wayland itself if XWayland cannot be reached after all.
char x11First[] = "xcb;wayland";
char wayland[] = "wayland";

}  // namespace

bool waylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == "wayland";
}

std::vector<char*> sessionArguments(int argc, char** argv) {
    std::vector<char*> arguments(argv, argv + argc);
    if (!userChosePlatform(argc, argv) && waylandSession()) {
        arguments.push_back(platformOption);
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            arguments.push_back(x11First);
        } else {
            arguments.push_back(wayland);
            std::fputs(
                "Nodavia Tempix: sesión Wayland sin XWayland. El cronómetro y la ventana "
                "de aviso no podrán quedar por encima de las demás ventanas, las ventanas "
                "no se centrarán en la pantalla y el bloqueo de pantalla no podrá retener "
                "el teclado.\n",
                stderr);
        }
    }
    arguments.push_back(nullptr);
    return arguments;
}
