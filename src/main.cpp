#include "about/pictures.h"
#include "app/form1.h"
#include "platform/fitcheck.h"
#include "platform/linux/commandline.h"
#include "platform/linux/linuxplatform.h"
#include "platform/linux/session.h"
#include "platform/linux/translations.h"
#include "platform/warmup.h"
#include "programa.h"

#include <QApplication>

#include <thread>

int main(int argc, char* argv[]) {
    if (const auto answered = answerCommandLine(argc, argv)) {
        return *answered;
    }
    std::vector<char*> arguments = sessionArguments(argc, argv);
    int count = static_cast<int>(arguments.size()) - 1;
    DisplayCheck display;
    QApplication app(count, arguments.data());
    display.passed();
    if (const auto refused = refuseOtherArguments(count, arguments.data())) {
        return *refused;
    }
    // Joined when main() returns, before the application object goes.
    std::jthread warmUp(loadFontsAndImagePlugins);
    installQtTranslations(app);
    installFitCheck(app);
    app.setOrganizationName(QStringLiteral("Nodavia"));
    app.setApplicationName(QStringLiteral("Tempix"));
    app.setDesktopFileName(QStringLiteral("nodavia-tempix"));
    // Every window without an icon of its own shows the program's.
    app.setWindowIcon(idleIcon());
    // The program lives in the notification area: hiding the last window does not end it.
    app.setQuitOnLastWindowClosed(false);

    LinuxPlatform services(
        [] {
            return TrayPictures{idleIcon(),
                                {trayFrame(0), trayFrame(1), trayFrame(2), trayFrame(3)}};
        },
        idleIcon());
    Programa programa(services.platform);
    programa.start();
    if (programa.ended()) {
        return 0;
    }
    return app.exec();
}
