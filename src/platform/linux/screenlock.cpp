#include "platform/linux/screenlock.h"

#include "platform/linux/session.h"
#include "platform/linux/x11.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

struct LinuxScreenLock::Atoms {
    xcb_atom_t wmState;
    xcb_atom_t state, above, below, fullScreen, sticky, hidden;
    xcb_atom_t desktop, supported, stacking, showingDesktop, activeWindow, restack;
    xcb_atom_t windowType, dock;
};

namespace {

constexpr uint32_t kEveryWorkspace = 0xFFFFFFFF;
// EWMH source indication of a pager: a request the user made, which window managers obey.
constexpr uint32_t kFromPager = 2;
constexpr uint32_t kRemove = 0;
constexpr uint32_t kAdd = 1;
constexpr uint32_t kIconic = 3;  // ICCCM WM_STATE

const LinuxScreenLock::Atoms& atomsOf(xcb_connection_t* c) {
    // Atoms belong to the server, and the program has one connection.
    static const LinuxScreenLock::Atoms atoms{
        x11Atom(c, "WM_STATE", false),
        x11Atom(c, "_NET_WM_STATE", false),
        x11Atom(c, "_NET_WM_STATE_ABOVE", false),
        x11Atom(c, "_NET_WM_STATE_BELOW", false),
        x11Atom(c, "_NET_WM_STATE_FULLSCREEN", false),
        x11Atom(c, "_NET_WM_STATE_STICKY", false),
        x11Atom(c, "_NET_WM_STATE_HIDDEN", false),
        x11Atom(c, "_NET_WM_DESKTOP", false),
        x11Atom(c, "_NET_SUPPORTED", false),
        x11Atom(c, "_NET_CLIENT_LIST_STACKING", false),
        x11Atom(c, "_NET_SHOWING_DESKTOP", false),
        x11Atom(c, "_NET_ACTIVE_WINDOW", false),
        x11Atom(c, "_NET_RESTACK_WINDOW", false),
        x11Atom(c, "_NET_WM_WINDOW_TYPE", false),
        x11Atom(c, "_NET_WM_WINDOW_TYPE_DOCK", false),
    };
    return atoms;
}

bool has(const std::vector<uint32_t>& values, uint32_t value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

xcb_window_t nativeWindow(QWidget* window) {
    // Only shown windows: asking a hidden one for its id would create a native window. Qt
    // replaces a window's native window when its stays-on-top flag changes, and only the
    // QWindow knows the new one.
    if (window == nullptr || !window->isVisible() || window->windowHandle() == nullptr) {
        return XCB_WINDOW_NONE;
    }
    return static_cast<xcb_window_t>(window->windowHandle()->winId());
}

uint8_t mapState(xcb_connection_t* c, xcb_window_t window) {
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr),
        &std::free);
    return reply ? reply->map_state : uint8_t(XCB_MAP_STATE_UNMAPPED);
}

}  // namespace

bool LinuxScreenLock::canHoldInput() {
    return !waylandSession() && x11Connection() != nullptr;
}

bool LinuxScreenLock::holdInput() {
    xcb_connection_t* c = x11Connection();
    if (c == nullptr) {
        return false;
    }
    // On the root window, with the program's own events reported as usual: its message and
    // the About window keep working, every other client and the window manager's shortcuts
    // get nothing, and the grab outlives the lock's native windows, which Qt replaces.
    const xcb_window_t root = x11Root(c);
    const auto keyboard =
        xcb_grab_keyboard(c, 1, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    const auto pointer = xcb_grab_pointer(c, 1, root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                                          XCB_WINDOW_NONE, XCB_CURSOR_NONE, XCB_CURRENT_TIME);
    const std::unique_ptr<xcb_grab_keyboard_reply_t, decltype(&std::free)> keyboardReply(
        xcb_grab_keyboard_reply(c, keyboard, nullptr), &std::free);
    const std::unique_ptr<xcb_grab_pointer_reply_t, decltype(&std::free)> pointerReply(
        xcb_grab_pointer_reply(c, pointer, nullptr), &std::free);
    return keyboardReply && keyboardReply->status == XCB_GRAB_STATUS_SUCCESS && pointerReply &&
           pointerReply->status == XCB_GRAB_STATUS_SUCCESS;
}

void LinuxScreenLock::releaseInput() {
    if (xcb_connection_t* c = x11Connection()) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
}

void LinuxScreenLock::prepare(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    const xcb_window_t id = nativeWindow(window);
    if (c == nullptr || id == XCB_WINDOW_NONE) {
        return;
    }
    // Read by the window manager when the window is mapped; Qt keeps states it finds there.
    const Atoms& a = atomsOf(c);
    std::vector<uint32_t> states = x11Values(c, id, a.state, XCB_ATOM_ATOM);
    if (!has(states, a.sticky)) {
        states.push_back(a.sticky);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, a.state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, a.desktop, XCB_ATOM_CARDINAL, 32, 1,
                        &kEveryWorkspace);
    xcb_flush(c);
}

bool LinuxScreenLock::supports(xcb_atom_t atom) const {
    return supported_.contains(atom);
}

void LinuxScreenLock::keep(const QList<QWidget*>& surfaces, const QList<QWidget*>& over) {
    connection_ = x11Connection();
    if (connection_ == nullptr) {
        return;
    }
    atoms_ = &atomsOf(connection_);
    const Atoms& a = *atoms_;
    const xcb_window_t root = x11Root(connection_);
    // What the window manager offers may change with the window manager.
    const std::vector<uint32_t> supported =
        x11Values(connection_, root, a.supported, XCB_ATOM_ATOM);
    supported_ = QList<uint32_t>(supported.begin(), supported.end());

    const std::vector<uint32_t> showing =
        x11Values(connection_, root, a.showingDesktop, XCB_ATOM_CARDINAL);
    if (!showing.empty() && showing[0] != 0) {
        x11AskWindowManager(connection_, root, a.showingDesktop, {0, 0, 0, 0, 0});
    }
    for (QWidget* surface : surfaces) {
        mend(surface, true);
    }
    for (QWidget* window : over) {
        mend(window, false);
    }
    raiseAbove(surfaces, over);
    xcb_flush(connection_);
}

void LinuxScreenLock::mend(QWidget* window, bool fullScreen) {
    const xcb_window_t id = nativeWindow(window);
    if (id == XCB_WINDOW_NONE) {
        return;
    }
    const Atoms& a = *atoms_;
    const bool above = window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    const std::vector<uint32_t> wmState = x11Values(connection_, id, a.wmState, a.wmState);
    const std::vector<uint32_t> states = x11Values(connection_, id, a.state, XCB_ATOM_ATOM);
    if ((wmState.empty() || wmState[0] == 0) &&
        mapState(connection_, id) == XCB_MAP_STATE_UNMAPPED) {
        // Withdrawn by another program, while Qt takes the window for shown. Twice in a row:
        // a window that Qt is mapping just now looks the same for a moment.
        if (++withdrawn_[id] < 2) {
            return;
        }
        withdrawn_.remove(id);
        // Mapped afresh, the window is managed from the states it carries then.
        std::vector<uint32_t> wanted = {a.sticky};
        if (fullScreen) {
            wanted.push_back(a.fullScreen);
        }
        if (above) {
            wanted.push_back(a.above);
        }
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, id, a.state, XCB_ATOM_ATOM, 32,
                            static_cast<uint32_t>(wanted.size()), wanted.data());
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, id, a.desktop, XCB_ATOM_CARDINAL,
                            32, 1, &kEveryWorkspace);
        xcb_map_window(connection_, id);
        return;
    }
    withdrawn_.remove(id);
    if ((!wmState.empty() && wmState[0] == kIconic) || has(states, a.hidden)) {
        // Mapping an iconified window brings it back (ICCCM).
        xcb_map_window(connection_, id);
    }
    const auto ask = [&](uint32_t action, xcb_atom_t state) {
        x11AskWindowManager(connection_, id, a.state, {action, state, 0, kFromPager, 0});
    };
    if (fullScreen && !has(states, a.fullScreen)) {
        ask(kAdd, a.fullScreen);
    }
    if (has(states, a.below)) {
        ask(kRemove, a.below);
    }
    if (above && !has(states, a.above)) {
        ask(kAdd, a.above);
    }
    // On every workspace: the workspace "all" where the window manager keeps workspaces, the
    // sticky state where it has only that.
    const std::vector<uint32_t> desktop = x11Values(connection_, id, a.desktop, XCB_ATOM_CARDINAL);
    if (!desktop.empty() ? desktop[0] != kEveryWorkspace : !has(states, a.sticky)) {
        if (supports(a.desktop)) {
            x11AskWindowManager(connection_, id, a.desktop, {kEveryWorkspace, kFromPager, 0, 0, 0});
        }
        if (supports(a.sticky)) {
            ask(kAdd, a.sticky);
        }
    }
}

void LinuxScreenLock::raiseAbove(const QList<QWidget*>& surfaces, const QList<QWidget*>& over) {
    const Atoms& a = *atoms_;
    QList<xcb_window_t> surfaceIds;
    QList<xcb_window_t> ours;
    for (QWidget* window : surfaces + over) {
        ours.append(nativeWindow(window));
        if (surfaces.contains(window)) {
            surfaceIds.append(ours.last());
        }
    }
    const std::vector<uint32_t> stacking =
        x11Values(connection_, x11Root(connection_), a.stacking, XCB_ATOM_WINDOW);
    // Bottom to top: is a window of another program on screen above one of the surfaces? The
    // program's own windows may lie either way: a full-screen window with the keyboard goes
    // above the others of its band on some desktops.
    bool aboveASurface = false;
    bool covered = false;
    for (const uint32_t id : stacking) {
        aboveASurface = aboveASurface || surfaceIds.contains(id);
        if (!aboveASurface || ours.contains(id) ||
            mapState(connection_, id) != XCB_MAP_STATE_VIEWABLE) {
            continue;
        }
        // Panels share the top layer with full-screen windows on some desktops, and take no
        // clicks while the pointer is held.
        covered = covered || !has(x11Values(connection_, id, a.windowType, XCB_ATOM_ATOM), a.dock);
    }
    if (!covered) {
        return;
    }
    // The surfaces to the top, then the windows that belong over them.
    for (QWidget* window : surfaces + over) {
        const xcb_window_t id = nativeWindow(window);
        if (id == XCB_WINDOW_NONE) {
            continue;
        }
        if (supports(a.restack)) {
            x11AskWindowManager(connection_, id, a.restack,
                                {kFromPager, XCB_WINDOW_NONE, XCB_STACK_MODE_ABOVE, 0, 0});
        } else {
            const uint32_t mode = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(connection_, id, XCB_CONFIG_WINDOW_STACK_MODE, &mode);
        }
    }
}

void LinuxScreenLock::activate(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    const xcb_window_t id = nativeWindow(window);
    if (c == nullptr || id == XCB_WINDOW_NONE) {
        return;
    }
    x11AskWindowManager(c, id, atomsOf(c).activeWindow,
                        {kFromPager, XCB_CURRENT_TIME, XCB_WINDOW_NONE, 0, 0});
    xcb_flush(c);
}

namespace {

void sayNotLocked(const QString& reason) {
    std::fprintf(stderr,
                 "Nodavia Tempix: el sistema no bloqueó la sesión (%s). La pantalla sigue "
                 "bloqueada por el programa.\n",
                 reason.toLocal8Bit().constData());
}

}  // namespace

void LinuxScreenLock::lockSession() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        sayNotLocked(QStringLiteral("no hay conexión con el bus del sistema"));
        return;
    }
    // The session the program was started in; "auto" is the caller's own or, for a program
    // started outside it, the user's graphical session.
    QString session = qEnvironmentVariable("XDG_SESSION_ID");
    if (session.isEmpty()) {
        session = QStringLiteral("auto");
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("LockSession"));
    call << session;
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(call), &answers_);
    QObject::connect(answer, &QDBusPendingCallWatcher::finished, &answers_,
                     [](QDBusPendingCallWatcher* watcher) {
                         watcher->deleteLater();
                         if (watcher->isError()) {
                             sayNotLocked(watcher->error().message());
                         }
                     });
}
