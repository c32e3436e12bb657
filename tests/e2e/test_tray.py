# SPDX-License-Identifier: GPL-3.0-or-later
"""The tray icon, end to end, on a real tray host: the copy menu on a left
click, the window back on a right click, and hiding the window to the tray;
on an X11 tray (trayer) the status tooltip on hovering, on a StatusNotifierItem
host (xfce4-panel) the item itself: registered once, its picture and tooltip
following the monitor, its picture offered at every size.

Usage: /usr/bin/python3 test_tray.py --program PATH [--plugin-dir DIR]
           [--tray-host trayer|xfce4-panel] [unittest args]
"""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import a11y  # noqa: E402
import desktop  # noqa: E402
import e2erun  # noqa: E402
import test_capture  # noqa: E402
from a11y import Atspi, GLib  # noqa: E402
from desktop import wait_until  # noqa: E402

TITLE = 'Q&V Scrivel'

# One private desktop session for the module, shared with the capture tests.
setUpModule, tearDownModule = test_capture.setUpModule, test_capture.tearDownModule


class ShownMenus:
    """Menus that pop up are not children of the application: they are
    caught as they show."""

    def __init__(self):
        self.menus = []
        self.listener = Atspi.EventListener.new(self._event)
        self.listener.register('object:state-changed:showing')

    def _event(self, event):
        try:
            if event.detail1 and event.source.get_role() in (Atspi.Role.MENU,
                                                             Atspi.Role.POPUP_MENU):
                self.menus.append(event.source)
        except GLib.Error:
            pass

    def pump(self):
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def wait(self, timeout=5):
        def shown():
            self.pump()
            return self.menus[-1] if self.menus else None
        return wait_until(shown, timeout, 'a popup menu')

    def close(self):
        self.listener.deregister('object:state-changed:showing')


class TrayTest(unittest.TestCase):

    runs = 0

    def items(self):
        """Our items registered with the session's watcher."""
        return [item for item in self.session.status_notifier_items()
                if self.session.item_property(item, 'Id') == 'Scrivel']

    def setUp(self):
        TrayTest.runs += 1
        self.session = test_capture._session
        self.session.release_clipboard()
        config = self.session.path(f'config-{TrayTest.runs}')
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, 'QVScrivel.ini'), 'w') as f:
            f.write('[Altro]\nConfUsc=0\nSempreInPrimoPiano=False\n')
        self.proc = self.session.start_program(test_capture.PROGRAM, test_capture.PLUGIN_DIR, config)
        self.addCleanup(self.session.end, self.proc)
        self.window = self.session.main_window(self.proc, TITLE, timeout=15)
        self.wm_class = self.session.wm_class(self.window)
        self.app = a11y.application(self.proc.pid)
        self.list = a11y.history_list(a11y.main_window(self.app, TITLE))
        self.on_bus = self.session.tray_host == 'xfce4-panel'
        if self.on_bus:
            self.item = wait_until(lambda: (self.items() or [None])[0], 5,
                                   'the item to register')
            # The panel lays its buttons out again as the item comes: the
            # picture has found its place when it stays there a moment.
            seen = []

            def settled():
                seen.append(self.session.panel_icon_position())
                return seen[-1] if len(seen) > 2 and seen[-1] == seen[-2] == seen[-3] else None
            self.icon = wait_until(settled, 5, 'the item to show', interval=0.1)
        else:
            self.icon = wait_until(lambda: self.session.tray_icon_window(self.wm_class), 5,
                                   'the tray icon to dock')

    def xdotool(self, *args):
        subprocess.run(['xdotool', *args], env=self.session.env, check=True, timeout=10,
                       stdin=subprocess.DEVNULL)

    def click_icon(self, button):
        """A real click on the icon; returns where on the screen it was."""
        if self.on_bus:
            x, y = self.icon
            self.xdotool('mousemove', str(x), str(y), 'click', str(button))
            return x, y
        self.xdotool('mousemove', '--window', str(self.icon.id), '11', '11',
                     'click', str(button))
        at = self.session.root.translate_coords(self.icon, 11, 11)
        return at.x, at.y

    def capture(self, *texts):
        for text in texts:
            self.session.copy_text(text)
            wait_until(lambda: text in a11y.row_names(self.list), 5, f'{text!r} captured')

    def clipboard(self):
        return subprocess.run(['xclip', '-selection', 'clipboard', '-o'], env=self.session.env,
                              capture_output=True, timeout=5, check=True,
                              stdin=subprocess.DEVNULL).stdout.decode()

    def mapped(self):
        try:
            return self.window.get_attributes().map_state == desktop.X.IsViewable
        except Exception:
            return False

    def test_left_click_opens_copy_menu_and_copies_an_entry(self):
        long_text = 'L' * 70
        self.capture('abc', long_text)
        menus = ShownMenus()
        self.addCleanup(menus.close)
        clicked = self.click_icon(1)
        menu = menus.wait()
        names = [a11y._call(item.get_name) for item in a11y.children(menu)
                 if a11y._call(item.get_role) != Atspi.Role.SEPARATOR
                 and a11y._call(item.get_state_set).contains(Atspi.StateType.VISIBLE)]
        self.assertEqual(names, ['Copia il contenuto di:', 'abc', 'L' * 60 + '...',
                                 'Svuota lista', 'Annulla'])
        # Where the click was: the corner nearest to it within 150 pixels.
        box = a11y._call(menu.get_extents, Atspi.CoordType.SCREEN)
        nearest = (min(max(clicked[0], box.x), box.x + box.width),
                   min(max(clicked[1], box.y), box.y + box.height))
        self.assertLess(max(abs(nearest[0] - clicked[0]), abs(nearest[1] - clicked[1])), 150,
                        f'menu at {box.x},{box.y} {box.width}x{box.height}, click at {clicked}')
        # The first entry is the second item: Down selects the hint item first.
        self.xdotool('key', 'Down', 'Down', 'Down', 'Return')
        wait_until(lambda: self.clipboard() == long_text, 5, 'the long entry on the clipboard')

    def test_right_click_brings_the_hidden_window_back(self):
        self.xdotool('windowactivate', '--sync', str(self.window.id))
        self.xdotool('key', 'F3')
        wait_until(lambda: not self.mapped(), 5, 'the window to hide')
        # The icon stays in the tray.
        if self.on_bus:
            self.assertEqual(self.items(), [self.item])
        else:
            self.assertIsNotNone(self.session.tray_icon_window(self.wm_class))
        self.click_icon(3)
        wait_until(self.mapped, 5, 'the window to come back')
        if self.on_bus:
            # The panel shows the item's menu as it passes the click on.
            self.xdotool('key', 'Escape')

    def test_hovering_shows_the_status_tooltip(self):
        if self.on_bus:
            self.skipTest('StatusNotifierItem hosts never report hovering')
        self.capture('uno', 'due')
        self.xdotool('mousemove', '--window', str(self.icon.id), '8', '8')
        self.xdotool('mousemove', '--window', str(self.icon.id), '11', '11')

        def tip():
            found = a11y.find(self.app, roles=(Atspi.Role.TOOL_TIP,), depth=1)
            return found and a11y._call(found.get_name)
        shown = wait_until(tip, 5, 'the status tooltip')
        self.assertEqual(shown, 'Aggiornamento Scrivel: 2 elementi nella lista')

    def item_picture(self, size=22):
        """The item's picture of one size, classified by its colour."""
        for width, height, data in self.session.item_property(self.item, 'IconPixmap') or []:
            if width == height == size:
                data = bytes(data)
                return desktop.classify_picture(
                    (data[i + 1], data[i + 2], data[i + 3]) for i in range(0, len(data), 4)
                    if data[i] == 255)
        return None

    def test_item_registered_once_following_the_monitor(self):
        if not self.on_bus:
            self.skipTest('an X11 tray shows no StatusNotifierItem')
        self.assertEqual(self.items(), [self.item])
        # Never in the panel's X11 tray as well.
        self.assertIsNone(self.session.tray_icon_window(self.wm_class))
        sizes = {(w, h) for w, h, _ in self.session.item_property(self.item, 'IconPixmap')}
        self.assertLessEqual({(s, s) for s in (16, 22, 24, 32, 48)}, sizes)
        self.assertEqual(self.item_picture(), 'normal')

        # A capture: the capture picture, then the normal one again; the
        # tooltip follows the entries without any hovering.
        for text in ('uno', 'due'):
            self.session.copy_text(text)
            wait_until(lambda: self.item_picture() == 'capture', 5,
                       f'the capture picture for {text!r}')
            wait_until(lambda: self.item_picture() == 'normal', 5, 'the normal picture')

        def tip():
            return self.session.item_property(self.item, 'ToolTip')[2]
        wait_until(lambda: tip() == 'Aggiornamento Scrivel: 2 elementi nella lista', 5,
                   'the tooltip to follow the entries')
        self.assertEqual(self.items(), [self.item])

    def test_panel_leaving_and_coming_back(self):
        if not self.on_bus:
            self.skipTest('the X11 tray going away is a start-up test')
        self.xdotool('windowactivate', '--sync', str(self.window.id))
        self.xdotool('key', 'F3')
        wait_until(lambda: not self.mapped(), 5, 'the window to hide')
        # Hidden in a panel that ends, the window would be out of reach.
        self.session.stop_tray_host()
        self.addCleanup(self.session.restart_tray_host)
        wait_until(self.mapped, 5, 'the window to come back')
        self.session.restart_tray_host()
        wait_until(lambda: len(self.items()) == 1, 10, 'the item to register again')
        wait_until(lambda: self.session.tray_icon_window(self.wm_class) is None, 5,
                   'no X11 tray icon')
        self.assertEqual(len(self.items()), 1)


if __name__ == '__main__':
    sys.exit(e2erun.run_tests(test_capture))
