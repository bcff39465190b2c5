"""A second X client for the desktop tests.

  xclient.py grab [SECONDS]        grabs the keyboard and the pointer, lets go after SECONDS (0);
                                   prints "keyboard=STATUS pointer=STATUS" (GrabSuccess,
                                   AlreadyGrabbed)
  xclient.py ask WINDOW TYPE V...  asks the window manager something about WINDOW as a pager does
                                   (EWMH client message); values are numbers or atom names
  xclient.py stack                 the managed windows on screen but docks, bottom to top
  xclient.py mapped                every top-level window on screen, menus included
"""
import sys
import time

from Xlib import X, display, error, protocol

d = display.Display()
root = d.screen().root
STATUS = {X.GrabSuccess: "GrabSuccess", X.AlreadyGrabbed: "AlreadyGrabbed"}


def viewable(window):
    try:
        return window.get_attributes().map_state == X.IsViewable
    except error.XError:  # gone meanwhile
        return False


def atoms(window, name):
    try:
        value = window.get_full_property(d.intern_atom(name), X.AnyPropertyType)
    except error.XError:
        return []
    return list(value.value) if value else []


if sys.argv[1] == "grab":
    keyboard = root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
    pointer = root.grab_pointer(False, 0, X.GrabModeAsync, X.GrabModeAsync, X.NONE, X.NONE,
                                X.CurrentTime)
    print(f"keyboard={STATUS.get(keyboard, keyboard)} pointer={STATUS.get(pointer, pointer)}",
          flush=True)
    time.sleep(float(sys.argv[2]) if len(sys.argv) > 2 else 0)
    d.ungrab_keyboard(X.CurrentTime)
    d.ungrab_pointer(X.CurrentTime)
    d.sync()
elif sys.argv[1] == "ask":
    data = [int(v, 0) if v[0].isdigit() else d.intern_atom(v) for v in sys.argv[4:]]
    root.send_event(protocol.event.ClientMessage(
        window=d.create_resource_object("window", int(sys.argv[2], 0)),
        client_type=d.intern_atom(sys.argv[3]), data=(32, (data + [0] * 5)[:5])),
        event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
    d.sync()
elif sys.argv[1] == "stack":
    dock = d.intern_atom("_NET_WM_WINDOW_TYPE_DOCK")
    for w in atoms(root, "_NET_CLIENT_LIST_STACKING"):
        window = d.create_resource_object("window", w)
        if viewable(window) and dock not in atoms(window, "_NET_WM_WINDOW_TYPE"):
            print(w)
elif sys.argv[1] == "mapped":
    for window in root.query_tree().children:
        if viewable(window):
            print(window.id)
