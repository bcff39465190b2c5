#pragma once

#include "platform/services.h"

#include <QHash>
#include <QObject>

#include <xcb/xcb.h>

// The screen lock on the desktop: on X11 active grabs of the keyboard and the pointer and the
// window manager's states (EWMH) of the lock's windows; in a Wayland session the session lock
// of systemd-logind.
class LinuxScreenLock : public ScreenLockService {
public:
    bool canHoldInput() override;
    bool holdInput() override;
    void releaseInput() override;
    void prepare(QWidget* window) override;
    void keep(const QList<QWidget*>& surfaces, const QList<QWidget*>& over) override;
    void activate(QWidget* window) override;
    void lockSession() override;

    struct Atoms;

private:
    void mend(QWidget* window, bool fullScreen);
    void raiseAbove(const QList<QWidget*>& surfaces, const QList<QWidget*>& over);
    bool supports(xcb_atom_t atom) const;

    xcb_connection_t* connection_ = nullptr;
    const Atoms* atoms_ = nullptr;
    QList<uint32_t> supported_;
    // Checks in a row that found a window withdrawn: one that Qt is mapping looks the same.
    QHash<xcb_window_t, int> withdrawn_;
    // Parent of the pending answers from logind.
    QObject answers_;
};
