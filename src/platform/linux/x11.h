#pragma once

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <vector>

// The program's connection to the X server, or nothing on another window system.
xcb_connection_t* x11Connection();
// The atom of that name; XCB_ATOM_NONE when it does not exist (and onlyIfExists) or on failure.
xcb_atom_t x11Atom(xcb_connection_t* connection, const char* name, bool onlyIfExists);
// The root window of the program's screen.
xcb_window_t x11Root(xcb_connection_t* connection);
// The 32-bit values of a window's property of that type; empty when it is missing.
std::vector<uint32_t> x11Values(xcb_connection_t* connection, xcb_window_t window,
                                xcb_atom_t property, xcb_atom_t type);
// A request about a window to the window manager, sent as EWMH asks: to the root window.
void x11AskWindowManager(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t type,
                         const std::array<uint32_t, 5>& data);
