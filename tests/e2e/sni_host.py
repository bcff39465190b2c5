#!/usr/bin/python3
"""A D-Bus notification area of our own, as the panels of most desktops have one.

    sni_host.py watch LOG          owns org.kde.StatusNotifierWatcher on the session bus and
                                   writes one line to LOG for each item that registers; SIGUSR1
                                   takes its host away or brings it back (Plasma's panel
                                   stopping while the watcher stays)
    sni_host.py tooltip            the tooltip title of the first registered item
    sni_host.py menu-at X Y        asks the item for its menu at X, Y (ContextMenu)
    sni_host.py layout             the item's exported menu: "id<TAB>label<TAB>enabled" lines
    sni_host.py click LABEL        sends "clicked" for the exported menu entry LABEL
"""
import signal
import sys

import dbus
import dbus.service

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"


class Watcher(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.items = []
        self.log = log
        self.host = True

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names its bus name, or only its object path on the caller's connection.
        name = service if not service.startswith("/") else sender + service
        if name not in self.items:
            self.items.append(name)
        with open(self.log, "a") as f:
            f.write(f"{name} {sender}\n")
        self.StatusNotifierItemRegistered(name)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        self.StatusNotifierHostRegistered()

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, name):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostUnregistered(self):
        pass

    def toggle_host(self):
        self.host = not self.host
        (self.StatusNotifierHostRegistered if self.host else self.StatusNotifierHostUnregistered)()
        return True

    # Qt reads the properties through the introspection data, so they must be in it.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return f"""<node><interface name="{WATCHER}">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
  <signal name="StatusNotifierHostUnregistered"/>
</interface></node>"""

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {
            "IsStatusNotifierHostRegistered": dbus.Boolean(self.host),
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "ProtocolVersion": dbus.Int32(0),
        }


def watch(log):
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus, log)
    name = dbus.service.BusName(WATCHER, bus)  # kept: the name goes with the object

    # Items of a program that went away leave the list.
    def owner_changed(bus_name, old, new):
        if old and not new:
            watcher.items = [i for i in watcher.items if i != bus_name and not i.startswith(old + "/")]

    bus.add_signal_receiver(owner_changed, "NameOwnerChanged", dbus.BUS_DAEMON_IFACE)
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, watcher.toggle_host)
    GLib.MainLoop().run()
    del name


def item():
    bus = dbus.SessionBus()
    watcher = bus.get_object(WATCHER, "/StatusNotifierWatcher")
    items = watcher.Get(WATCHER, "RegisteredStatusNotifierItems", dbus_interface=dbus.PROPERTIES_IFACE)
    if not items:
        sys.exit("no item registered")
    # GNOME's AppIndicator extension lists an item as "NAME@/PATH".
    service, _, path = items[0].partition("/")
    service = service.rstrip("@")
    return bus, bus.get_object(service, "/" + path if path else "/StatusNotifierItem")


def menu(bus, obj):
    path = obj.Get(ITEM, "Menu", dbus_interface=dbus.PROPERTIES_IFACE)
    return bus.get_object(obj.bus_name, path)


def entries(menu_obj):
    _, layout = menu_obj.GetLayout(0, -1, dbus.Array([], signature="s"), dbus_interface=MENU)
    out = []
    for child in layout[2]:
        ident, props = child[0], child[1]
        if props.get("type", "standard") == "separator":
            continue
        label = str(props.get("label", "")).replace("_", "")
        out.append((int(ident), label, bool(props.get("enabled", True)), bool(props.get("visible", True))))
    return out


def main():
    command = sys.argv[1]
    if command == "watch":
        watch(sys.argv[2])
        return
    bus, obj = item()
    if command == "tooltip":
        tip = obj.Get(ITEM, "ToolTip", dbus_interface=dbus.PROPERTIES_IFACE)
        print(tip[2])
    elif command == "menu-at":
        obj.ContextMenu(int(sys.argv[2]), int(sys.argv[3]), dbus_interface=ITEM)
    elif command == "layout":
        for ident, label, enabled, visible in entries(menu(bus, obj)):
            if visible:
                print(f"{ident}\t{label}\t{'on' if enabled else 'off'}")
    elif command == "click":
        m = menu(bus, obj)
        ids = [ident for ident, label, _, _ in entries(m) if label == sys.argv[2]]
        if not ids:
            sys.exit("no entry " + sys.argv[2])
        m.Event(ids[0], "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0), dbus_interface=MENU)
    else:
        sys.exit("unknown command " + command)


if __name__ == "__main__":
    main()
