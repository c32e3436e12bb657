# SPDX-License-Identifier: GPL-3.0-or-later
"""A GTK 4 window on Wayland that takes the focus, as a user's application
does: `waylandwindow.py TITLE FD` writes a line to FD once it is shown and
runs until it is ended.

Start with GDK_BACKEND=wayland (and GSK_RENDERER=cairo where there is no GPU).
"""

import os
import sys

import gi

gi.require_version('Gtk', '4.0')
from gi.repository import GLib, Gtk  # noqa: E402


def main():
    title, fd = sys.argv[1], int(sys.argv[2])
    loop = GLib.MainLoop()
    window = Gtk.Window(title=title)
    window.set_default_size(400, 300)
    window.set_child(Gtk.Label(label=title))
    window.connect('close-request', lambda *_: loop.quit())

    def mapped(*_):
        os.write(fd, b'shown\n')
        os.close(fd)
    window.connect('map', mapped)
    window.present()
    loop.run()


if __name__ == '__main__':
    main()
