#include "platform/form.h"

#include "programa.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

Form::Form(Programa& p) : QWidget(nullptr), programa(p) {}

void Form::WindowOnTop(int flag) {
    if (flag != -1 && flag != 0) {
        return;
    }
    const bool on = flag == -1;
    const bool wasShown = testAttribute(Qt::WA_WState_Created) && isVisible();
    const QPoint position = pos();
    if (isOnTop() != on) {
        // Changing a window flag hides the window; it is shown again below.
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
        if (wasShown) {
            move(position);
        }
    }
    const bool activating = !testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, !activating);
}

void Form::setDefaultButton(QPushButton* button) {
    defaultButton_ = button;
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
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        QPushButton* target = focused ? focused : defaultButton_;
        if (target && target->isEnabled()) {
            target->click();
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

bool Form::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return handled;
}
