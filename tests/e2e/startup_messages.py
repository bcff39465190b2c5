#!/usr/bin/python3
"""Writes each startup-notification message sent to the root window, one a line, as a desktop's
launcher receives them (_NET_STARTUP_INFO_BEGIN and _NET_STARTUP_INFO pieces of 20 bytes).
Runs until it is stopped. Prints "ready" once it listens."""
import sys

from Xlib import X, display

d = display.Display()
root = d.screen().root
root.change_attributes(event_mask=X.PropertyChangeMask)
begin = d.intern_atom("_NET_STARTUP_INFO_BEGIN")
more = d.intern_atom("_NET_STARTUP_INFO")
d.sync()
print("ready", flush=True)
pending = {}
while True:
    e = d.next_event()
    if e.type != X.ClientMessage or e.client_type not in (begin, more):
        continue
    data = bytes(e.data[1])
    text = (b"" if e.client_type == begin else pending.get(e.window, b"")) + data
    if b"\0" in text:
        pending.pop(e.window, None)
        print(text.split(b"\0")[0].decode(), flush=True)
    else:
        pending[e.window] = text
