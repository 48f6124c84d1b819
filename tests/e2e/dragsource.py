# A drag source as file managers are: one window whose whole area drags one file, offering the URI
# list alone (Qt, KDE and GTK 3 file managers) or together with plain UTF-8 text, one path per line
# (GTK 4, GNOME Files). usage: dragsource.py uri-list|uri-list+text PATH
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, Gio, Gtk  # noqa: E402

URI_LIST, PLAIN_TEXT = 0, 1


def main():
    offer, path = sys.argv[1], sys.argv[2]
    targets = [Gtk.TargetEntry.new("text/uri-list", 0, URI_LIST)]
    if offer == "uri-list+text":
        targets.append(Gtk.TargetEntry.new("text/plain;charset=utf-8", 0, PLAIN_TEXT))
    uri = Gio.File.new_for_path(path).get_uri()

    def data_get(_widget, _context, data, info, _time):
        if info == URI_LIST:
            data.set_uris([uri])
        else:
            data.set(Gdk.Atom.intern("text/plain;charset=utf-8", False), 8, (path + "\n").encode())

    def drag_end(*_args):
        print("drag ended", flush=True)

    window = Gtk.Window(title="drag source")
    window.move(0, 0)
    window.set_default_size(200, 120)
    area = Gtk.EventBox()
    area.add(Gtk.Label(label="drag me"))
    area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, targets, Gdk.DragAction.COPY)
    area.connect("drag-data-get", data_get)
    area.connect("drag-end", drag_end)
    window.add(area)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


main()
