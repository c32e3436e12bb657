# SPDX-License-Identifier: GPL-3.0-or-later
"""Scrivel on a Wayland desktop, end to end: the real program on XWayland in a
private headless compositor session (kwin_wayland or sway), while a Wayland
window has the focus, driven through the Wayland clipboard and read back
through the accessibility bus.

Usage: /usr/bin/python3 test_wayland.py --compositor kwin|sway --program PATH
           [--plugin-dir DIR] [unittest args]
(or SCRIVEL_E2E_COMPOSITOR; SCRIVEL_WAYLAND_OWNER names the scriptable owner).
Exits with 77 (skipped) only when the program is not built or the machine
lacks the compositor.
"""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import a11y  # noqa: E402
import e2erun  # noqa: E402
import test_capture  # noqa: E402
import waylanddesktop  # noqa: E402
from desktop import wait_until  # noqa: E402
from test_tray import ShownMenus  # noqa: E402

COMPOSITOR = os.environ.get('SCRIVEL_E2E_COMPOSITOR', 'kwin')
HINTED_TYPES = ('text/plain;charset=utf-8', 'UTF8_STRING', 'text/plain', 'STRING')


def setUpModule():
    absent = waylanddesktop.missing(COMPOSITOR)
    if absent:
        raise unittest.SkipTest(f'{COMPOSITOR}: this machine lacks {absent}')
    session = waylanddesktop.WaylandSession(COMPOSITOR)
    session.__enter__()
    test_capture._session = session
    a11y.connect(session)


def tearDownModule():
    if test_capture._session is not None:
        test_capture._session.stop()


def owner():
    """The scriptable Wayland owner, built beside the program."""
    return os.environ.get('SCRIVEL_WAYLAND_OWNER') or os.path.join(
        os.path.dirname(test_capture.PROGRAM), 'scrivel_wayland_owner')


def report(label, value):
    test_capture.report(f'{COMPOSITOR}: {label}', value)


class WaylandTest(test_capture.ProgramTestCase):
    """A fresh program per test; then a Wayland window takes the focus."""

    def setUp(self):
        super().setUp()
        self.app = a11y.application(self.proc.pid)
        self.session.focus_wayland_window()
        self.addCleanup(self.session.end, self.session.window)

    def run_again(self, *args):
        env = dict(self.session.env, XDG_CONFIG_HOME=self.session.path(
            f'config-{test_capture.ProgramTestCase.runs}'))
        if test_capture.PLUGIN_DIR:
            env['SCRIVEL_PLUGIN_DIR'] = test_capture.PLUGIN_DIR
        return subprocess.run([test_capture.PROGRAM, *args], env=env, capture_output=True,
                              text=True, timeout=10, stdin=subprocess.DEVNULL)

    def capture(self, *texts):
        for n, text in enumerate(texts):
            self.session.copy_text(text)
            self.wait_rows(list(texts[:n + 1]))

    def open_menu(self, menus):
        """`scrivel --menu`, as a desktop shortcut runs it: the copy menu and its geometry."""
        second = self.run_again('--menu')
        self.assertEqual(second.returncode, 0, second.stderr)
        menu = menus.wait()
        geometry = wait_until(lambda: self.session.popup_windows(self.proc.pid), 5,
                              'the menu window')[0]
        return menu, geometry

    def open_menu_and_press(self, menus, *keys):
        """Opens the menu as a desktop shortcut does, then presses keys as the
        keyboard sends them: through the compositor where it takes a virtual
        keyboard (sway), else into XWayland (kwin has no such protocol). The
        virtual keyboard is there before the menu opens, as a real one is:
        sway gives a new keyboard to the focused window."""
        if self.session.compositor != 'sway':
            _, box = self.open_menu(menus)
            subprocess.run(['xdotool', 'key', *keys], env=self.session.env, check=True,
                           timeout=10, stdin=subprocess.DEVNULL)
            return box
        keyboard = self.session.spawn(
            ['wtype', '-s', '3000'] + [arg for key in keys for arg in ('-k', key)], name='wtype')
        opened = time.monotonic()
        _, box = self.open_menu(menus)
        self.assertLess(time.monotonic() - opened, 2.5, 'the menu opened after the keys')
        self.assertEqual(keyboard.wait(timeout=10), 0)
        return box

    def test_copies_in_wayland_apps_are_all_captured_in_order(self):
        self.assertTrue(self.session.wayland_window_focused('Finestra Wayland'))
        texts = [f'copia Wayland {n}' for n in range(1, 11)]
        start = time.monotonic()
        for text in texts:  # faster than the monitor's tick
            self.session.copy_text(text)
            time.sleep(0.3)
        self.wait_rows(texts)
        report('10 copies captured', f'{time.monotonic() - start:.2f} s after the first')
        self.assertTrue(self.session.wayland_window_focused('Finestra Wayland'),
                        'the focus left the Wayland window')
        self.assert_rows_stay(texts)

    def test_bar_asks_to_float_where_the_compositor_tiles(self):
        if self.session.compositor == 'sway':
            [view] = [v for v in self.session.sway_views() if v.get('name') == test_capture.TITLE]
            report('the bar', f'{view["type"]} at {view["rect"]}')
            self.assertEqual(view['type'], 'floating_con', 'sway tiled the bar')
            self.assertLess(view['rect']['width'], 200)
        else:  # kwin docks it at the left edge, as X11 window managers do
            root = self.window.translate_coords(self.session.root, 0, 0)
            report('the bar', f'client at ({-root.x},{-root.y}), '
                              f'{self.window.get_geometry().width} wide')
            self.assertLessEqual(-root.x, 10)

    def test_text_marked_secret_is_not_captured(self):
        self.capture('Prima')
        secret = 'parola-segreta-42'
        self.session.copy_scripted(owner(), '--hint', 'secret', '--text', secret,
                                   *(arg for t in HINTED_TYPES for arg in ('--type', t)))
        self.assertEqual(self.session.read_clipboard(), secret)
        self.assert_rows_stay(['Prima'])
        self.session.copy_text(secret)  # the same text without the mark
        self.wait_rows(['Prima', secret])

    def test_entry_put_back_from_the_menu_is_what_wayland_apps_paste(self):
        self.capture('Alfa', 'Beta')
        menus = ShownMenus()
        self.addCleanup(menus.close)
        # Past the hint item to the first entry.
        self.open_menu_and_press(menus, 'Down', 'Down', 'Return')
        wait_until(lambda: self.session.read_clipboard() == 'Alfa', 5,
                   'Wayland apps to paste "Alfa"')
        wait_until(lambda: not self.session.popup_windows(self.proc.pid), 5, 'the menu to close')
        # The Wayland window has the focus back, and the text is held already.
        wait_until(lambda: self.session.wayland_window_focused('Finestra Wayland'), 5,
                   'the focus back in the Wayland window')
        self.assert_rows_stay(['Alfa', 'Beta'])
        # Served until another program replaces it, to every paste.
        self.assertEqual(self.session.read_clipboard(), 'Alfa')

    def test_menu_from_a_shortcut_is_centred_wholly_on_screen_and_escape_closes_it(self):
        self.capture('Gamma')
        menus = ShownMenus()
        self.addCleanup(menus.close)
        box = self.open_menu_and_press(menus, 'Escape')
        width, height = self.session.screen_size()
        report('menu opened at', f'({box.x},{box.y}) {box.width}x{box.height} '
                                 f'on a {width}x{height} screen')
        self.assertTrue(0 <= box.x and box.x + box.width <= width and 0 <= box.y
                        and box.y + box.height <= height, 'the menu is not wholly on screen')
        self.assertLessEqual(abs(box.x + box.width // 2 - width // 2), 1)
        self.assertLessEqual(abs(box.y + box.height // 2 - height // 2), 1)
        wait_until(lambda: not self.session.popup_windows(self.proc.pid), 5,
                   'Escape to close the menu')
        self.assertEqual(self.rows(), ['Gamma'])
        self.assertEqual(self.session.read_clipboard(), 'Gamma')


if __name__ == '__main__':
    for i, arg in enumerate(sys.argv):
        if arg == '--compositor' and i + 1 < len(sys.argv):
            COMPOSITOR = sys.argv[i + 1]
            del sys.argv[i:i + 2]
            break
    absent = waylanddesktop.missing(COMPOSITOR)
    if absent:
        print(f'SKIPPED: {COMPOSITOR}: this machine lacks {absent}', file=sys.stderr)
        sys.exit(77)
    sys.exit(e2erun.run_tests(test_capture))
