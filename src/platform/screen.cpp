#include "platform/screen.h"

#include "platform/linux/x11.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdint>
#include <cstdlib>

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
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

void stopShowingDesktop() {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = root;
    message.type = x11Atom(connection, "_NET_SHOWING_DESKTOP", false);
    message.data.data32[0] = 0;
    // As a pager asks it: to the window manager, through the root window.
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}
