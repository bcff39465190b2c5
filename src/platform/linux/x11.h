#pragma once

#include <xcb/xcb.h>

// The program's connection to the X server, or nothing on another window system.
xcb_connection_t* x11Connection();
// The atom of that name; XCB_ATOM_NONE when it does not exist (and onlyIfExists) or on failure.
xcb_atom_t x11Atom(xcb_connection_t* connection, const char* name, bool onlyIfExists);
