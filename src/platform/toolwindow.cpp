#include "platform/toolwindow.h"

#include "platform/linux/x11.h"

#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<xcb_atom_t> atoms(xcb_connection_t* connection, xcb_window_t window,
                              xcb_atom_t property) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 64),
        nullptr);
    std::vector<xcb_atom_t> values;
    if (reply != nullptr && reply->format == 32) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

}  // namespace

void markToolWindow(QWidget* window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr || !window->isWindow()) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    // Not Qt's tool window: that one is transient for the whole program, so window managers
    // keep it above every other window of the program (the password prompts too), and KWin
    // offers to minimise it while the main window is hidden, with no entry to bring it back.
    const xcb_atom_t type = x11Atom(connection, "_NET_WM_WINDOW_TYPE", false);
    const xcb_atom_t utility = x11Atom(connection, "_NET_WM_WINDOW_TYPE_UTILITY", false);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, type, XCB_ATOM_ATOM, 32, 1,
                        &utility);
    // Qt keeps the states it finds on a window it maps and adds its own (above the others).
    const xcb_atom_t state = x11Atom(connection, "_NET_WM_STATE", false);
    std::vector<xcb_atom_t> states = atoms(connection, id, state);
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t skip = x11Atom(connection, name, false);
        if (std::find(states.begin(), states.end(), skip) == states.end()) {
            states.push_back(skip);
        }
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    // Out of the program's window group: openbox keeps a utility window of a group above
    // every other window of that group, as it keeps transient ones.
    xcb_get_property_reply_t* hints = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9),
        nullptr);
    if (hints != nullptr && hints->format == 32 && xcb_get_property_value_length(hints) == 36) {
        std::array<uint32_t, 9> values;
        std::memcpy(values.data(), xcb_get_property_value(hints), sizeof values);
        constexpr uint32_t kWindowGroupHint = 1u << 6;
        values[0] &= ~kWindowGroupHint;
        values[8] = 0;
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS,
                            XCB_ATOM_WM_HINTS, 32, 9, values.data());
    }
    std::free(hints);
    xcb_flush(connection);
}
