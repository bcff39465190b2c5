#pragma once

// The screen lock shown when a protected alert ends: it covers the screen until the alert's
// password is typed.

#include "platform/controls.h"
#include "platform/form.h"

#include <QPushButton>
#include <QTimer>

#include <memory>
#include <vector>

class LockCover;
class ScreenLockService;

class Form10 : public Form {
    Q_OBJECT
public:
    explicit Form10(Programa& programa);
    ~Form10() override;

    void Form_Load() override;
    void Form_Unload() override;

    void aceptar_Click();
    void Label2_Click();

    Label* Picture2;
    QLabel* Mensaje;
    Label* Label1;
    TextBox* Pass;
    QPushButton* aceptar;
    Label* Label2;
    Label* Label3;

protected:
    void Form_Activate() override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ScreenLockService& screenLock();
    void refuse(const QString& text);
    void takeKeyboard();
    void holdInput();
    void coverOtherScreens();
    QList<QWidget*> windowsOver();
    void watchOver();

    // A message about the password is above the lock, with the keyboard.
    bool refusing_ = false;
    // The About window was opened from the lock: it may lie above it.
    bool aboutOpened_ = false;
    // Checks in a row that found the keyboard away from the lock's windows.
    int strikes_ = 0;
    QTimer watch_;
    // The lock's background on every other screen.
    std::vector<std::unique_ptr<LockCover>> covers_;
};
