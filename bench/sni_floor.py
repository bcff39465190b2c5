#!/usr/bin/python3
"""The least a D-Bus tray item can cost its host while its icon animates: an item whose picture,
and nothing else, changes once a second (NewIcon), as four 16x16 frames of pixels. The desktop
figures compare the program with it on the same host."""
import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

ITEM = "org.kde.StatusNotifierItem"
PICTURES = "a(iiay)"


def frame(n):
    # A bar that moves across a square, one column of four a frame.
    pixels = bytearray()
    for y in range(16):
        for x in range(16):
            pixels += bytes((255, 255, 180, 0) if x // 4 == n else (255, 40, 90, 140))
    return dbus.Array([dbus.Struct((16, 16, dbus.ByteArray(bytes(pixels))))], signature="(iiay)")


class Item(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/StatusNotifierItem")
        self.frames = [frame(n) for n in range(4)]
        self.n = 0

    def properties(self):
        none = dbus.Array([], signature="(iiay)")
        return {
            "Category": "ApplicationStatus", "Id": "floor", "Title": "floor", "Status": "Active",
            "IconName": "", "IconThemePath": "", "IconPixmap": self.frames[self.n],
            "OverlayIconName": "", "OverlayIconPixmap": none, "AttentionIconName": "",
            "AttentionIconPixmap": none, "AttentionMovieName": "", "ItemIsMenu": False,
            "Menu": dbus.ObjectPath("/NO_DBUSMENU"),
            "ToolTip": dbus.Struct(("", none, "floor", ""), signature="sa(iiay)ss"),
        }

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties()[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties()

    @dbus.service.signal(ITEM, signature="")
    def NewIcon(self):
        pass

    @dbus.service.method(ITEM, in_signature="ii")
    def Activate(self, x, y):
        pass

    @dbus.service.method(ITEM, in_signature="ii")
    def ContextMenu(self, x, y):
        pass


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    item = Item(bus)
    watcher = bus.get_object("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher")
    watcher.RegisterStatusNotifierItem("/StatusNotifierItem",
                                       dbus_interface="org.kde.StatusNotifierWatcher")

    def tick():
        item.n = (item.n + 1) % 4
        item.NewIcon()
        return True

    GLib.timeout_add(1000, tick)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
