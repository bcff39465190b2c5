#include "platform/toolwindow.h"

#include "platform/linux/x11.h"

#include <QWidget>

#include <vector>

void markToolWindow(QWidget* window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr || !window->isWindow()) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    auto set = [&](const char* property, xcb_atom_t type, const std::vector<uint32_t>& values) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id,
                            x11Atom(connection, property, false), type, 32,
                            static_cast<uint32_t>(values.size()), values.data());
    };
    auto atom = [&](const char* name) { return x11Atom(connection, name, false); };
    // Not Qt's tool window: that one is transient for the whole program, so window managers
    // keep it above every other window of the program (the password prompts too), and KWin
    // offers to minimise it while the main window is hidden, with no entry to bring it back.
    set("_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {atom("_NET_WM_WINDOW_TYPE_UTILITY")});
    // Qt adds its own states (above the others) to those it finds as it maps the window.
    set("_NET_WM_STATE", XCB_ATOM_ATOM,
        {atom("_NET_WM_STATE_SKIP_TASKBAR"), atom("_NET_WM_STATE_SKIP_PAGER")});
    // Input, and no window group: openbox keeps a utility window above every other window of
    // its group, as it keeps transient ones.
    set("WM_HINTS", XCB_ATOM_WM_HINTS, {1, 1, 0, 0, 0, 0, 0, 0, 0});
    xcb_flush(connection);
}
