#pragma once

// A program object on fake services, as the gui tests use it.

#include "fakeplatform.h"
#include "programa.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

struct TestProgram {
    FakePlatform fakes;
    Programa programa{fakes.platform};

    // Lets windows unloaded during the test really go away.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

// A 60-character alert text that wraps into more lines than a message box holds.
inline const QString kLongAlertText =
    QStringLiteral("Desconectar electrodomésticos: extraordinariamente important");

// The first row of a control's box, as its window draws it, that holds light text; -1 when none.
inline int firstLightRow(QWidget& window, const QWidget* control) {
    const QImage picture = window.grab(control->geometry()).toImage();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixelColor(x, y).lightness() > 200) {
                return y;
            }
        }
    }
    return -1;
}
