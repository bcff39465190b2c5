#pragma once

// The lock's background on a screen other than the one with the password box: with two
// monitors the second would otherwise stay free.

#include <QWidget>

class QScreen;
class ScreenLockService;

class LockCover : public QWidget {
    Q_OBJECT
public:
    LockCover(ScreenLockService& screenLock, QScreen* screen);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ScreenLockService& screenLock_;
};
