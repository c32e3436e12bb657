# SPDX-License-Identifier: GPL-3.0-or-later
"""Options, window styles and always-on-top, end to end: the real program in a
private desktop session, driven with the keyboard and the accessibility bus and
checked through the X server.

Usage: /usr/bin/python3 test_options.py --program PATH [--plugin-dir DIR] [unittest args]
Exits with 77 (skipped) only when the program has not been built.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import a11y  # noqa: E402
import e2erun  # noqa: E402
import test_capture  # noqa: E402
from desktop import wait_until  # noqa: E402
from gi.repository import Atspi  # noqa: E402
from Xlib import X  # noqa: E402
from Xlib.error import XError  # noqa: E402

TITLE = test_capture.TITLE
TICK, SLACK = test_capture.TICK, test_capture.SLACK
PIXEL = 15  # twips per pixel on Xvfb's 96 dpi screen


class ProgramTestCase(test_capture.ProgramTestCase):
    """A fresh program per test (first run: bar style, always on top)."""

    def setUp(self):
        super().setUp()
        self.window = self.session.main_window(self.proc, TITLE)
        self.app = a11y.application(self.proc.pid)

    # -- X server --------------------------------------------------------

    def property(self, window, name):
        try:
            prop = window.get_full_property(self.session.atom(name), X.AnyPropertyType)
        except XError:
            return None
        return None if prop is None else list(prop.value)

    def above(self):
        return self.session.atom('_NET_WM_STATE_ABOVE') in (
            self.property(self.window, '_NET_WM_STATE') or [])

    def frame(self):
        """The main window's outer rectangle in pixels, frame included."""
        left, right, top, bottom = self.property(self.window, '_NET_FRAME_EXTENTS') or (0,) * 4
        origin = self.session.root.translate_coords(self.window, 0, 0)
        size = self.window.get_geometry()
        return (origin.x - left, origin.y - top,
                size.width + left + right, size.height + top + bottom)

    def wait_frame(self, expected, what):
        try:
            wait_until(lambda: self.frame() == expected, 3, what)
        except TimeoutError:
            self.assertEqual(self.frame(), expected, what)

    def top_level(self, title, timeout=5):
        return self.session.main_window(self.proc, title, timeout)

    def wait_closed(self, title):
        wait_until(lambda: all(self.session.window_title(w) != title
                               for w in self.session.client_windows(self.proc.pid)),
                   5, f'"{title}" to close')

    def keys(self, window, *keys):
        """Types keys into a window after activating it, as a user would."""
        env = self.session.env
        subprocess.run(['xdotool', 'windowactivate', '--sync', str(window.id)], env=env,
                       check=True, timeout=10)
        subprocess.run(['xdotool', 'key', '--clearmodifiers', *keys], env=env, check=True,
                       timeout=10)

    # -- accessibility -----------------------------------------------------

    def menu_item(self, name):
        return wait_until(lambda: a11y.find(self.app, name, (Atspi.Role.MENU_ITEM,)), 5,
                          f'the menu item "{name}"')

    def press(self, name):
        item = self.menu_item(name)
        Atspi.Action.do_action(item, 0)

    def options_text(self):
        dialog = a11y.find(self.app, 'Opzioni', (Atspi.Role.DIALOG, Atspi.Role.FRAME,
                                                  Atspi.Role.WINDOW), 0)
        box = a11y.find(dialog, None, (Atspi.Role.TEXT, Atspi.Role.ENTRY))
        return Atspi.Text.get_text(box, 0, -1)

    def set_interval(self, text, confirm_zero=False):
        """Opens the options with F8, types the interval and presses Enter (OK)."""
        self.keys(self.window, 'F8')
        dialog = self.top_level('Opzioni')
        self.assertFalse(self.above(), 'the main window covers the options')
        shown = self.options_text()
        self.keys(dialog, 'alt+c', 'ctrl+a', *list(text), 'Return')
        if confirm_zero:
            question = self.top_level('Scrivel v.5')
            self.keys(question, 'Return')
        self.wait_closed('Opzioni')
        return shown


class OptionsTest(ProgramTestCase):

    def test_interval_zero_stops_capture_until_set_back(self):
        self.session.copy_text('Uno')
        self.wait_rows(['Uno'])
        self.assertTrue(self.above())

        self.assertEqual(self.set_interval('0', confirm_zero=True), '700')
        wait_until(self.above, 2, 'always-on-top again after the options')
        self.session.copy_text('Due')
        self.assert_rows_stay(['Uno'], ticks=3)

        self.assertEqual(self.set_interval('700'), '0')
        # The text still on the clipboard is captured at the next tick.
        self.wait_rows(['Uno', 'Due'])


class WindowStyleTest(ProgramTestCase):

    def test_dock_right_and_window_style_give_the_frame_geometry(self):
        area = self.session.root_property('_NET_WORKAREA')
        width, height = area[2], area[3]
        bar = 1470 // PIXEL
        self.wait_frame((0, 0, bar, height), 'the bar at the left edge')

        self.press('A destra')
        self.wait_frame((width - bar, 0, bar, height), 'the bar at the right edge')

        for attempt in (1, 2):
            self.press('Stile finestra')
            self.wait_frame((67, 67, 400, 400), f'the free window, attempt {attempt}')
            self.assertFalse(a11y.is_enabled(self.menu_item('Allineamento')))

    def test_always_on_top_toggles_without_recreating_the_window(self):
        self.assertTrue(self.above())
        for expected in (False, True, False):
            self.press('Sempre in primo piano')
            wait_until(lambda: self.above() == expected, 2,
                       f'_NET_WM_STATE_ABOVE to be {"set" if expected else "cleared"}')
            same = self.session.main_window(self.proc, TITLE)
            self.assertEqual(same.id, self.window.id, 'the X window was re-created')
            self.assertIn(self.window.id, self.session.root_property('_NET_CLIENT_LIST'))


# One private desktop session for the module, shared with the capture tests.
setUpModule, tearDownModule = test_capture.setUpModule, test_capture.tearDownModule


if __name__ == '__main__':
    sys.exit(e2erun.run_tests(test_capture))
