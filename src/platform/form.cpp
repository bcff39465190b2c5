#include "platform/form.h"

#include "programa.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>

Form::Form(Programa& p) : QWidget(nullptr), programa(p) {}

void Form::WindowOnTop(int flag) {
    if (flag != -1 && flag != 0) {
        return;
    }
    const bool on = flag == -1;
    const bool wasActive = isVisible() && isActiveWindow();
    if (isOnTop() != on) {
        // Changing a window flag hides the window and gives it a new native window, which the
        // window manager would place afresh: it gets back the place and size it had.
        const bool placed = isVisible() || testAttribute(Qt::WA_Moved);
        const QRect client = geometry();
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        if (placed) {
            setGeometry(client);
        } else {
            resize(client.size());
        }
    }
    // Shown without taking the focus from the window the user is in; a window that had the
    // focus keeps it.
    const bool quietBefore = testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, quietBefore);
    if (wasActive) {
        activateWindow();
    }
}

void Form::setDefaultButton(QPushButton* button) {
    if (defaultButton_ == nullptr && button != nullptr) {
        // The themes of some desktops (GNOME's, XFCE's) let a frame, a check box or an option
        // button take Enter as a press before it reaches the window: the window sees it first.
        qApp->installEventFilter(this);
    }
    defaultButton_ = button;
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    // The focused control of this window; the menu bar keeps Enter while it is in use.
    if (event->type() == QEvent::KeyPress && watched != this && watched == focusWidget() &&
        qobject_cast<QMenuBar*>(watched) == nullptr &&
        pressDefault(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool Form::pressDefault(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        return false;
    }
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QPushButton* target = focused ? focused : defaultButton_;
    if (target && target->isEnabled()) {
        target->click();
    }
    event->accept();
    return true;
}

void Form::closeEvent(QCloseEvent* event) {
    // Only requests from outside arrive here: the program unloads windows itself.
    if (closeWithdrawn_) {
        event->ignore();
        return;
    }
    event->ignore();
    programa.unload(this);
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (!pressDefault(event)) {
        QWidget::keyPressEvent(event);
    }
}

bool Form::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return handled;
}
