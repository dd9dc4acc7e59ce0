#!/usr/bin/python3
"""What the idle waiter's tests need of a headless GNOME session, on its bus.

gnome_test_client.py session-manager: a stand-in for org.gnome.SessionManager
    for mutter's idle monitor to follow: InhibitedActions (u, 8 for idle), set
    by the tests through org.freedesktop.DBus.Properties.Set and announced with
    PropertiesChanged as a session manager does. Prints "ready" once it owns
    the name; runs until killed.
gnome_test_client.py key: a key typed through mutter's remote desktop, twice:
    a new device's first key may arrive folded into the keyboard's enter.
"""
import sys

from gi.repository import Gio, GLib

MANAGER = "org.gnome.SessionManager"
DESKTOP = "org.gnome.Mutter.RemoteDesktop"
bus = Gio.bus_get_sync(Gio.BusType.SESSION)


def call(path, interface, method, args=None, reply=None):
    return bus.call_sync(DESKTOP, path, interface, method, args, reply, Gio.DBusCallFlags.NONE, -1, None)


def key():
    session = call("/org/gnome/Mutter/RemoteDesktop", DESKTOP, "CreateSession",
                   reply=GLib.VariantType("(o)")).unpack()[0]
    call(session, DESKTOP + ".Session", "Start")
    for pressed in (True, False, True, False):
        call(session, DESKTOP + ".Session", "NotifyKeyboardKeycode", GLib.Variant("(ub)", (30, pressed)))
    call(session, DESKTOP + ".Session", "Stop")


def session_manager():
    inhibited = GLib.Variant("u", 0)

    def set_property(connection, sender, path, interface, name, value):
        nonlocal inhibited
        inhibited = value
        connection.emit_signal(None, path, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                               GLib.Variant("(sa{sv}as)", (interface, {name: value}, [])))
        return True

    node = Gio.DBusNodeInfo.new_for_xml(
        f'<node><interface name="{MANAGER}"><property name="InhibitedActions" type="u" access="readwrite"/>'
        '</interface></node>')
    bus.register_object("/org/gnome/SessionManager", node.interfaces[0], None, lambda *_: inhibited,
                        set_property)
    Gio.bus_own_name_on_connection(bus, MANAGER, Gio.BusNameOwnerFlags.NONE,
                                   lambda *_: print("ready", flush=True), None)
    GLib.MainLoop().run()


if sys.argv[1:] == ["key"]:
    key()
elif sys.argv[1:] == ["session-manager"]:
    session_manager()
else:
    sys.exit("usage: gnome_test_client.py session-manager|key")
