#pragma once

// A program object on fake services, as the gui tests use it.

#include "fakeplatform.h"
#include "programa.h"

#include <QCoreApplication>

struct TestProgram {
    FakePlatform fakes;
    Programa programa{fakes.platform};

    // Lets windows unloaded during the test really go away.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};
