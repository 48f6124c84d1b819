# A desktop portal's file chooser on the session bus, as the desktop runs one: it announces
# version 3 and answers every request with Cancel at once, writing the method's name to standard
# output so that a test can tell whether the chooser was asked at all. usage: portal.py
from gi.repository import Gio, GLib

INTERFACE = """
<node>
  <interface name="org.freedesktop.portal.FileChooser">
    <method name="OpenFile">
      <arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="o" direction="out"/>
    </method>
    <method name="SaveFile">
      <arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="o" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
</node>"""
PATH = "/org/freedesktop/portal/desktop"


def main():
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)
    loop = GLib.MainLoop()
    requests = [0]

    def call(connection, _sender, _path, _interface, method, _parameters, invocation):
        print(method, flush=True)
        requests[0] += 1
        request = "%s/request/test/r%d" % (PATH, requests[0])
        invocation.return_value(GLib.Variant("(o)", (request,)))

        def cancel():
            connection.emit_signal(None, request, "org.freedesktop.portal.Request", "Response",
                                   GLib.Variant("(ua{sv})", (1, {})))
            return False

        GLib.timeout_add(200, cancel)

    def get_property(*_args):
        return GLib.Variant("u", 3)

    def acquired(connection, _name):
        connection.register_object(PATH, node.interfaces[0], call, get_property, None)

    def owned(*_args):
        print("ready", flush=True)

    Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.portal.Desktop",
                     Gio.BusNameOwnerFlags.NONE, acquired, owned, lambda *_: loop.quit())
    loop.run()


main()
