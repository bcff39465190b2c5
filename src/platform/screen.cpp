#include "platform/screen.h"

#include "platform/linux/x11.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <thread>

namespace {

// The window manager's frame around window id, as it says in _NET_FRAME_EXTENTS.
std::optional<QMargins> frameExtents(xcb_connection_t* connection, xcb_window_t id) {
    const xcb_atom_t extents = x11Atom(connection, "_NET_FRAME_EXTENTS", false);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr);
    std::optional<QMargins> frame;
    if (reply != nullptr && xcb_get_property_value_length(reply) == 16) {
        // Left, right, top, bottom.
        const auto* sides = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        frame = QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]),
                         static_cast<int>(sides[1]), static_cast<int>(sides[3]));
    }
    std::free(reply);
    return frame;
}

// Whether the window manager says (in _NET_SUPPORTED on the root window) that it handles this.
bool windowManagerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t what) {
    const xcb_atom_t supported = x11Atom(connection, "_NET_SUPPORTED", false);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096),
        nullptr);
    bool found = false;
    if (reply != nullptr) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        found = std::find(atoms, atoms + count, what) != atoms + count;
    }
    std::free(reply);
    return found;
}

// False once the window manager gave no answer: it is not asked again.
bool answersFrameRequests = true;

// Asks the window manager what frame it will put around a window not shown yet
// (_NET_REQUEST_FRAME_EXTENTS); false when it does not handle the request or gave no answer once.
bool requestFrame(xcb_connection_t* connection, xcb_window_t id) {
    const xcb_atom_t ask = x11Atom(connection, "_NET_REQUEST_FRAME_EXTENTS", false);
    static const bool handled = windowManagerSupports(connection, x11Root(connection), ask);
    if (!handled || !answersFrameRequests) {
        return false;
    }
    x11AskWindowManager(connection, id, ask, {});
    xcb_flush(connection);
    return true;
}

// Waits a moment for the answer to requestFrame. Looked for often: the window manager usually
// answers within a millisecond, and the window waits for it.
std::optional<QMargins> awaitFrame(xcb_connection_t* connection, xcb_window_t id) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    do {
        if (const auto frame = frameExtents(connection, id)) {
            return frame;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(250));
    } while (std::chrono::steady_clock::now() < deadline);
    answersFrameRequests = false;
    return std::nullopt;
}

std::optional<QMargins> askFrame(xcb_connection_t* connection, xcb_window_t id) {
    if (!requestFrame(connection, id)) {
        return std::nullopt;
    }
    return awaitFrame(connection, id);
}

// The window asked about for windowFrame(), never shown, and its answer once read.
xcb_window_t framedProbe = XCB_NONE;
std::optional<QMargins> ordinaryFrame;

// The frame around a top-level window: what Qt knows of a window on screen, else what the window
// manager says it will be.
QMargins frameOf(QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    if (outer != inner) {
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return {};
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (const auto known = frameExtents(connection, id)) {
        return *known;
    }
    return askFrame(connection, id).value_or(QMargins());
}

}  // namespace

void askWindowFrame() {
    xcb_connection_t* connection = x11Connection();
    if (framedProbe != XCB_NONE || ordinaryFrame || connection == nullptr) {
        return;
    }
    // A window of the plainest kind, only to be asked about.
    framedProbe = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, framedProbe, x11Root(connection), 0, 0, 100,
                      100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    if (!requestFrame(connection, framedProbe)) {
        ordinaryFrame = QMargins();
    }
}

QMargins windowFrame() {
    askWindowFrame();
    if (framedProbe != XCB_NONE) {
        xcb_connection_t* connection = x11Connection();
        if (!ordinaryFrame) {
            ordinaryFrame = awaitFrame(connection, framedProbe).value_or(QMargins());
        }
        xcb_destroy_window(connection, framedProbe);
        xcb_flush(connection);
        framedProbe = XCB_NONE;
    }
    return ordinaryFrame.value_or(QMargins());
}

QRect availableArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    // The window with its frame in the middle of what panels leave free; one too large for it
    // keeps its title bar in reach.
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(window);
    QRect outer = QRect(QPoint(), window->size()).marginsAdded(frame);
    outer.moveCenter(area.center());
    outer.moveTopLeft(
        QPoint(std::max(outer.left(), area.left()), std::max(outer.top(), area.top())));
    window->move(outer.topLeft() + QPoint(frame.left(), frame.top()));
}

void bringUp(QWidget& window) {
    if (window.isMinimized()) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    }
    window.show();
    window.raise();
    window.activateWindow();
}

WindowManagerState windowManagerState(const QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        if (!window.isVisible()) {
            return WindowManagerState::Withdrawn;
        }
        return window.isMinimized() ? WindowManagerState::Minimised : WindowManagerState::Normal;
    }
    const auto id = static_cast<xcb_window_t>(window.internalWinId());
    const xcb_atom_t wmState = x11Atom(connection, "WM_STATE", true);
    if (id == XCB_NONE || wmState == XCB_ATOM_NONE) {
        return WindowManagerState::Withdrawn;
    }
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, wmState, wmState, 0, 1), nullptr);
    // The ICCCM states: 0 withdrawn, 1 normal, 3 iconic.
    std::uint32_t state = 0;
    if (reply != nullptr && xcb_get_property_value_length(reply) >= 4) {
        state = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
    }
    std::free(reply);
    switch (state) {
        case 1:
            return WindowManagerState::Normal;
        case 3:
            return WindowManagerState::Minimised;
        default:
            return WindowManagerState::Withdrawn;
    }
}
