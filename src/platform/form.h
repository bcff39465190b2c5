#pragma once

// The base of every window: its Load, Activate and Unload handling, the default button,
// the always-on-top band and the withdrawn close command.

#include <QWidget>

class Programa;
class QPushButton;

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(Programa& programa);

    // Runs once, right after the window is created by the program object.
    virtual void Form_Load() {}
    // Runs when the window is unloaded, before it is destroyed.
    virtual void Form_Unload() {}

    // -1 puts the window into the topmost band, 0 takes it out; both keep its position and
    // size and show it without activating it. Any other value does nothing.
    void WindowOnTop(int flag);
    bool isOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

    // Close requests that do not come from the program (close box, Alt+F4, the window
    // manager) are ignored.
    void withdrawCloseCommand() { closeWithdrawn_ = true; }
    bool closeCommandWithdrawn() const { return closeWithdrawn_; }

    // The button that Enter presses wherever the focus is, except on another push button.
    void setDefaultButton(QPushButton* button);
    QPushButton* defaultButton() const { return defaultButton_; }

protected:
    virtual void Form_Activate() {}
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

    Programa& programa;

private:
    // Enter presses the focused push button, else the default button; true when it was Enter.
    bool pressDefault(QKeyEvent* event);

    bool closeWithdrawn_ = false;
    QPushButton* defaultButton_ = nullptr;
};
