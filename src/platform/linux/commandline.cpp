#include "platform/linux/commandline.h"

#include "common/version.h"

#include <QByteArray>
#include <QtGlobal>

#include <QList>
#include <QMessageLogContext>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

const char kUsage[] =
    "Uso: tempix [OPCIÓN DE QT]...\n"
    "     tempix -h | --help | -v | --version\n"
    "Nodavia Tempix, programador de avisos: al terminar una cuenta regresiva muestra un aviso,\n"
    "apaga o reinicia el equipo, o bloquea la pantalla. Todo se elige en sus ventanas.\n"
    "\n"
    "  -h, --help      muestra esta ayuda y termina\n"
    "  -v, --version   muestra la versión y termina\n"
    "\n"
    "Acepta además las opciones de Qt, como -platform NOMBRE, -style NOMBRE o\n"
    "-display PANTALLA. Más información: man tempix\n";

bool is(const char* argument, const char* shortName, const char* longName) {
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

// The display variables that are set, for the message that no display can be opened.
QByteArray displayNames() {
    QByteArray names;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(name)) {
            names += (names.isEmpty() ? "" : ", ") + QByteArray(name) + '=' + qgetenv(name);
        }
    }
    return names;
}

// What Qt said while the application object was being made.
struct Held {
    QtMsgType type;
    std::string file, function, category;
    int line;
    QString text;
};
QList<Held> held;

void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // The one fatal message while the application object is made: no window system.
        const QByteArray names = displayNames();
        if (names.isEmpty()) {
            std::fputs(
                "Nodavia Tempix necesita un escritorio: no hay ninguna pantalla "
                "(ni DISPLAY ni WAYLAND_DISPLAY).\n",
                stderr);
        } else {
            std::fprintf(stderr, "Nodavia Tempix no puede abrir la pantalla (%s).\n",
                         names.constData());
        }
        std::fflush(stderr);
        std::_Exit(1);
    }
    auto copy = [](const char* s) { return std::string(s ? s : ""); };
    held.append({type, copy(context.file), copy(context.function), copy(context.category),
                 context.line, text});
}

}  // namespace

std::optional<int> answerCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "-h", "--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (is(argv[i], "-v", "--version")) {
            std::printf("Nodavia Tempix %s\n", versionText().toUtf8().constData());
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> refuseOtherArguments(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    const bool option = argv[1][0] == '-';
    std::fprintf(stderr, "tempix: %s «%s»\n", option ? "opción desconocida" : "argumento de más",
                 argv[1]);
    std::fputs(kUsage, stderr);
    return 2;
}

DisplayCheck::DisplayCheck() : previous_(qInstallMessageHandler(&hold)) {}

DisplayCheck::~DisplayCheck() {
    passed();
}

void DisplayCheck::passed() {
    if (!std::exchange(checking_, false)) {
        return;
    }
    qInstallMessageHandler(previous_);
    for (const Held& m : std::exchange(held, {})) {
        const QMessageLogContext context(m.file.c_str(), m.line, m.function.c_str(),
                                         m.category.c_str());
        if (previous_) {
            previous_(m.type, context, m.text);
        }
    }
}
