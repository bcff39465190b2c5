#include "app/form2.h"

#include "common/twips.h"
#include "platform/screen.h"
#include "platform/toolwindow.h"
#include "programa.h"
#include "settings/form7.h"

#include <QEvent>
#include <QTimer>

Form2::Form2(Programa& p) : Form(p) {
    // A close box, neither minimise nor maximise box; no taskbar entry (markToolWindow). Above
    // the others from the start: a change of that flag would give it a new native window,
    // without the marks.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Tempix 2019"));
    setFixedSize(twipsSize(1875, 495));
    lblTiempo1 = new Label(QStringLiteral("00:00:00"), this);
    lblTiempo1->setObjectName(QStringLiteral("lblTiempo1"));
    QFont font(QStringLiteral("Microsoft Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(20.25);
    lblTiempo1->setFont(font);
    lblTiempo1->setAlignment(Qt::AlignCenter);
}

void Form2::Form_Load() {
    // With NoDown the stopwatch shows itself whenever it loads, also on the main window's
    // silent copy of its time, so closing it during an alert only hides it for a second.
    if (programa.form7().NoDown->value() == 1) {
        WindowOnTop(-1);
    }
}

void Form2::Form_Activate() {
    WindowOnTop(-1);
}

void Form2::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    // The time fills the window. No layout: it would measure the label's text again at every
    // second, though the label's size never follows its text.
    lblTiempo1->setGeometry(rect());
}

void Form2::changeEvent(QEvent* event) {
    Form::changeEvent(event);
    // Minimised by the window manager anyway: without a taskbar entry it would be lost, so it
    // comes back, without taking the keyboard.
    if (event->type() == QEvent::WindowStateChange && isMinimized()) {
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            WindowOnTop(-1);
        });
    }
}

void Form2::showEvent(QShowEvent* event) {
    markToolWindow(this);
    Form::showEvent(event);
    if (!placed_) {
        placed_ = true;
        centreOnScreen(this);
    }
}
