#pragma once

#include <QtGlobal>

#include <optional>

// The program is driven from its windows; on the command line it answers only what every
// desktop program answers. Before the application object exists: -h/--help print the usage,
// -v/--version the version, on standard output, and the program ends with 0 without opening
// a window. Nothing else is looked at here.
std::optional<int> answerCommandLine(int argc, char** argv);

// After the application object took Qt's own options (-platform, -style, -display...): any
// argument left is one the program does not know. The usage goes to standard error and the
// program ends with 2.
std::optional<int> refuseOtherArguments(int argc, char** argv);

// While the application object connects to the display. Without one, Qt writes a few lines in
// English and aborts; the program says so in one Spanish line instead and ends with 1. Qt's
// messages of a start that goes well are held back meanwhile and then passed on as they came.
class DisplayCheck {
public:
    DisplayCheck();
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    // The application object is there: pass on what Qt said.
    void passed();

private:
    QtMessageHandler previous_;
    bool checking_ = true;
};
