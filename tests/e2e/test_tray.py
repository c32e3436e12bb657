# SPDX-License-Identifier: GPL-3.0-or-later
"""The tray icon, end to end, on a real tray host: the copy menu on a left
click, the window back on a right click, the status tooltip on hovering, and
hiding the window to the tray.

Usage: /usr/bin/python3 test_tray.py --program PATH [--plugin-dir DIR] [unittest args]
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
        self.icon = wait_until(lambda: self.session.tray_icon_window(self.wm_class), 5,
                               'the tray icon to dock')

    def xdotool(self, *args):
        subprocess.run(['xdotool', *args], env=self.session.env, check=True, timeout=10,
                       stdin=subprocess.DEVNULL)

    def click_icon(self, button):
        self.xdotool('mousemove', '--window', str(self.icon.id), '11', '11',
                     'click', str(button))

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
        self.click_icon(1)
        menu = menus.wait()
        names = [a11y._call(item.get_name) for item in a11y.children(menu)
                 if a11y._call(item.get_role) != Atspi.Role.SEPARATOR
                 and a11y._call(item.get_state_set).contains(Atspi.StateType.VISIBLE)]
        self.assertEqual(names, ['Copia il contenuto di:', 'abc', 'L' * 60 + '...',
                                 'Svuota lista', 'Annulla'])
        # The first entry is the second item: Down selects the hint item first.
        self.xdotool('key', 'Down', 'Down', 'Down', 'Return')
        wait_until(lambda: self.clipboard() == long_text, 5, 'the long entry on the clipboard')

    def test_right_click_brings_the_hidden_window_back(self):
        self.xdotool('windowactivate', '--sync', str(self.window.id))
        self.xdotool('key', 'F3')
        wait_until(lambda: not self.mapped(), 5, 'the window to hide')
        # The icon stays in the tray.
        self.assertIsNotNone(self.session.tray_icon_window(self.wm_class))
        self.click_icon(3)
        wait_until(self.mapped, 5, 'the window to come back')

    def test_hovering_shows_the_status_tooltip(self):
        self.capture('uno', 'due')
        self.xdotool('mousemove', '--window', str(self.icon.id), '8', '8')
        self.xdotool('mousemove', '--window', str(self.icon.id), '11', '11')

        def tip():
            found = a11y.find(self.app, roles=(Atspi.Role.TOOL_TIP,), depth=1)
            return found and a11y._call(found.get_name)
        shown = wait_until(tip, 5, 'the status tooltip')
        self.assertEqual(shown.strip(), 'Aggiornamento Scrivel: 2 elementi nella lista')


if __name__ == '__main__':
    sys.exit(e2erun.run_tests(test_capture))
