# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up and shutdown, end to end: placement, always-on-top, the tray icon,
the exit question and the settings file, with the real program in a private
desktop session.

Usage: /usr/bin/python3 test_startup.py --program PATH [--plugin-dir DIR] [unittest args]
"""

import os
import shutil
import signal
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import a11y  # noqa: E402
import e2erun  # noqa: E402
import test_capture  # noqa: E402
from a11y import Atspi  # noqa: E402
from desktop import wait_until  # noqa: E402
from Xlib import X  # noqa: E402

TITLE = 'Q&V Scrivel'
EXIT_QUESTION = ('Si desidera veramente uscire? Se sì tutto il testo presente non sarà '
                 'più disponibile.')
REF_ZERO_MESSAGE = ('Il tempo di refresh è 0.\nLa modifica di questo parametro tramite le '
                    'Opzioni attiverà il monitoraggio degli Scrivel di sistema. ')
TWIPS = 15  # per pixel on the virtual screen (96 dpi)

# One private desktop session for the module, shared with the capture tests.
setUpModule, tearDownModule = test_capture.setUpModule, test_capture.tearDownModule


def read_ini(path):
    """{'Section/Key': text} of a settings file, quotes taken off."""
    values, section = {}, None
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('[') and line.endswith(']'):
                section = line[1:-1]
            elif '=' in line:
                key, value = line.split('=', 1)
                if len(value) >= 2 and value[0] == value[-1] == '"':
                    value = value[1:-1]
                values[f'{section}/{key}'] = value
    return values


def write_ini(path, values):
    sections = {}
    for name, value in values.items():
        section, key = name.split('/')
        sections.setdefault(section, []).append(f'{key}={value}')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', encoding='utf-8') as f:
        for section, lines in sections.items():
            f.write(f'[{section}]\n' + '\n'.join(lines) + '\n\n')


class StartupTest(unittest.TestCase):

    runs = 0

    def setUp(self):
        StartupTest.runs += 1
        self.session = test_capture._session
        self.config = self.session.path(f'config-{StartupTest.runs}')
        self.ini = os.path.join(self.config, 'QVScrivel.ini')
        self.proc = None
        self.addCleanup(self.stop_program)

    def stop_program(self):
        if self.proc is not None and self.proc.poll() is None:
            self.session.end(self.proc)

    def start(self, expect_window=True):
        self.proc = self.session.start_program(test_capture.PROGRAM, test_capture.PLUGIN_DIR,
                                               self.config)
        self.app = a11y.application(self.proc.pid)
        if expect_window:
            self.window = self.session.main_window(self.proc, TITLE, timeout=15)
            self.wm_class = self.session.wm_class(self.window)

    # -- what the window manager sees ------------------------------------------

    def frame(self):
        """The main window's outer rectangle on the screen, in pixels."""
        window = self.window
        geometry = window.get_geometry()
        origin = window.translate_coords(self.session.root, 0, 0)
        extents = self.session._window_property(window, '_NET_FRAME_EXTENTS') or [0, 0, 0, 0]
        left, right, top, bottom = extents
        return (-origin.x - left, -origin.y - top, geometry.width + left + right,
                geometry.height + top + bottom)

    def wait_frame(self, expected, timeout=5):
        try:
            wait_until(lambda: self.frame() == expected, timeout, f'the frame {expected}')
        except TimeoutError:
            self.assertEqual(self.frame(), expected)

    def above(self):
        states = self.session._window_property(self.window, '_NET_WM_STATE') or []
        return self.session.atom('_NET_WM_STATE_ABOVE') in list(states)

    def work_area_height(self):
        return self.session.root_property('_NET_WORKAREA')[3]

    # -- talking to the program -------------------------------------------------

    def press_key(self, key):
        xid = str(self.window.id)
        env = self.session.env
        subprocess.run(['xdotool', 'windowactivate', '--sync', xid], env=env, check=True,
                       timeout=10, stdin=subprocess.DEVNULL)
        subprocess.run(['xdotool', 'key', '--clearmodifiers', key], env=env, check=True,
                       timeout=10, stdin=subprocess.DEVNULL)

    def alert(self, timeout=10):
        return wait_until(lambda: a11y.find(self.app, roles=(Atspi.Role.ALERT,), depth=2),
                          timeout, 'a message box', 0.05)

    def alert_text(self, alert):
        texts = []
        for node in self.descendants(alert):
            if a11y._call(node.get_role) == Atspi.Role.LABEL:
                texts.append(a11y._call(node.get_name))
        return [t for t in texts if t]

    def descendants(self, node):
        for child in a11y.children(node):
            if child is not None:
                yield child
                yield from self.descendants(child)

    def press_button(self, alert, caption):
        button = a11y.find(alert, caption, (Atspi.Role.PUSH_BUTTON,))
        self.assertIsNotNone(button, f'no button "{caption}"')
        a11y._call(Atspi.Action.do_action, button, 0)

    def exit_with_f12(self):
        self.press_key('F12')
        alert = self.alert()
        self.assertIn(EXIT_QUESTION, self.alert_text(alert))
        self.press_button(alert, 'OK')
        self.assertEqual(self.proc.wait(timeout=10), 0)

    # -- the tests ----------------------------------------------------------------

    def test_first_run_exit_and_second_start(self):
        self.start()
        height = self.work_area_height()
        self.wait_frame((0, 0, 1470 // TWIPS, height))
        wait_until(self.above, 5, '_NET_WM_STATE_ABOVE')
        wait_until(lambda: self.session.tray_icon_window(self.wm_class), 5,
                   'the tray icon to dock')
        self.exit_with_f12()

        stored = read_ini(self.ini)
        self.assertEqual(stored, {
            'Posizione/Sin': '0', 'Posizione/Alto': '0',
            'Grandezze/Larghezza': '1470', 'Grandezze/Altezza': str(height * TWIPS),
            'Altro/SempreInPrimoPiano': 'True', 'Altro/VisualizzaIcona': '1',
            'Altro/AvviaAIcona': '-1', 'Altro/Ref': '700', 'Altro/ConfUsc': '1',
            'Altro/SfMnu': '',
        })

        # The next start comes back where the window was.
        self.start()
        self.wait_frame((0, 0, 1470 // TWIPS, height))
        self.exit_with_f12()

    def test_stored_geometry_is_restored_and_written_back(self):
        write_ini(self.ini, {'Posizione/Sin': '1500', 'Posizione/Alto': '1200',
                             'Grandezze/Larghezza': '4500', 'Grandezze/Altezza': '6000',
                             'Altro/SempreInPrimoPiano': 'False'})
        self.start()
        self.wait_frame((100, 80, 300, 400))
        self.assertFalse(self.above())
        self.exit_with_f12()
        stored = read_ini(self.ini)
        self.assertEqual([stored[k] for k in ('Posizione/Sin', 'Posizione/Alto',
                                              'Grandezze/Larghezza', 'Grandezze/Altezza')],
                         ['1500', '1200', '4500', '6000'])
        self.assertEqual(stored['Altro/SempreInPrimoPiano'], 'False')

    def program_without_tray_control(self):
        """A copy of the program in a folder of its own, which finds no tray
        control, and the empty plugin folder it is given."""
        alone, empty = self.session.path('alone'), self.session.path('no-plugin')
        os.makedirs(alone, exist_ok=True)
        os.makedirs(empty, exist_ok=True)
        return shutil.copy(test_capture.PROGRAM, alone), empty

    def mapped(self):
        return self.window.get_attributes().map_state == X.IsViewable

    def f3_enabled(self):
        item = a11y.find(self.app, 'Riduci a tray-icon', (Atspi.Role.MENU_ITEM,))
        return a11y.is_enabled(item)

    def stored_rect(self):
        stored = read_ini(self.ini)
        return tuple(stored[k] for k in ('Posizione/Sin', 'Posizione/Alto',
                                         'Grandezze/Larghezza', 'Grandezze/Altezza'))

    def test_without_a_tray_host_the_window_stays_reachable(self):
        self.session.stop_tray_host()
        self.addCleanup(self.session.restart_tray_host)
        write_ini(self.ini, {'Altro/AvviaAIcona': '1', 'Altro/ConfUsc': '0'})
        self.start()  # shown, although asked to start in the tray
        self.assertFalse(self.f3_enabled())
        # The tray host dies, as a panel crash ends it, with the window hidden there.
        for sig in (signal.SIGTERM, signal.SIGKILL, signal.SIGKILL):
            self.session.restart_tray_host()
            wait_until(self.f3_enabled, 5, 'F3 to be enabled once a tray host runs')
            wait_until(lambda: self.session.tray_icon_window(self.wm_class), 5,
                       'the icon to dock')
            self.press_key('F3')
            wait_until(lambda: not self.mapped(), 5, 'the window to hide')
            os.kill(self.session.trayer.pid, sig)
            self.session.end(self.session.trayer)
            wait_until(self.mapped, 1, f'the window back after the tray host\'s {sig.name}')
        self.session.restart_tray_host()
        wait_until(lambda: self.session.tray_icon_window(self.wm_class), 5, 'the icon to dock')
        self.press_key('F12')
        self.assertEqual(self.proc.wait(timeout=10), 0)
        self.assertEqual(read_ini(self.ini)['Altro/AvviaAIcona'], '1')

    def test_huge_stored_size_fits_the_desktop(self):
        write_ini(self.ini, {'Posizione/Sin': '0', 'Posizione/Alto': '0',
                             'Grandezze/Larghezza': '999999999999',
                             'Grandezze/Altezza': '999999999999', 'Altro/ConfUsc': '0'})
        self.start()
        root = self.session.root.get_geometry()

        def fits():
            _, _, width, height = self.frame()
            return 0 < width <= root.width and 0 < height <= root.height
        try:
            wait_until(fits, 5, 'the window to fit the screen')
        except TimeoutError:
            self.fail(f'the frame {self.frame()} does not fit {root.width}x{root.height}')
        self.assertLess(self.session.ping(self.window, timeout=5), 1.0)

    def test_start_and_exit_keep_the_stored_rectangle(self):
        program, empty = self.program_without_tray_control()
        for with_plugin, size in ((False, ('4500', '6000')), (True, ('1000', '1000'))):
            with self.subTest(plugin=with_plugin, size=size):
                write_ini(self.ini, {'Posizione/Sin': '1500', 'Posizione/Alto': '1200',
                                     'Grandezze/Larghezza': size[0],
                                     'Grandezze/Altezza': size[1], 'Altro/ConfUsc': '0'})
                rects = []
                for _ in range(3):
                    if with_plugin:
                        self.start()
                    else:
                        self.proc = self.session.start_program(program, empty, self.config)
                        self.app = a11y.application(self.proc.pid)
                        self.press_button(self.alert(timeout=15), 'OK')  # no tray control
                        self.window = self.session.main_window(self.proc, TITLE, timeout=15)
                    self.press_key('F12')
                    self.assertEqual(self.proc.wait(timeout=10), 0)
                    rects.append(self.stored_rect())
                # Below the smallest size the window grows once; it never moves.
                self.assertEqual(rects[0][:2], ('1500', '1200'))
                self.assertEqual(rects, [rects[0]] * 3)

    def test_a_signal_during_a_start_up_message_ends_and_writes_nothing(self):
        program, empty = self.program_without_tray_control()
        for message, ref, plugin in (('no tray control', '900', False),
                                     ('interval 0', '0', True)):
            with self.subTest(message=message):
                self.stop_program()
                # Hand-written, as the program would never write it.
                text = f'[Altro]\nRef={ref}\nConfUsc=0\n\n[Posizione]\nSin=1500\n'
                os.makedirs(self.config, exist_ok=True)
                with open(self.ini, 'w', encoding='utf-8') as f:
                    f.write(text)
                if plugin:
                    self.start(expect_window=False)
                else:
                    self.proc = self.session.start_program(program, empty, self.config)
                    self.app = a11y.application(self.proc.pid)
                self.alert(timeout=15)
                self.proc.send_signal(signal.SIGTERM)
                self.assertEqual(self.proc.wait(timeout=2), 0)
                with open(self.ini, encoding='utf-8') as f:
                    self.assertEqual(f.read(), text)

    def test_interval_zero_warns_and_suspends(self):
        write_ini(self.ini, {'Altro/Ref': '0', 'Altro/ConfUsc': '0'})
        self.start(expect_window=False)
        alert = self.alert(timeout=15)
        self.assertIn(REF_ZERO_MESSAGE, [t.replace('\r\n', '\n') for t in self.alert_text(alert)])
        self.press_button(alert, 'OK')
        self.window = self.session.main_window(self.proc, TITLE, timeout=15)
        self.wm_class = self.session.wm_class(self.window)
        icon = wait_until(lambda: self.session.tray_icon_window(self.wm_class), 5,
                          'the tray icon to dock')
        wait_until(lambda: self.session.picture_of(icon) == 'suspended', 5,
                   'the suspended picture')
        # Nothing is captured while polling is off.
        self.session.copy_text('non catturato')
        lst = a11y.history_list(a11y.main_window(self.app, TITLE))
        self.assertEqual(a11y.row_names(lst), [])
        self.press_key('F12')  # no question: exit confirmation is off
        self.assertEqual(self.proc.wait(timeout=10), 0)
        self.assertEqual(read_ini(self.ini)['Altro/Ref'], '0')


if __name__ == '__main__':
    sys.exit(e2erun.run_tests(test_capture))
