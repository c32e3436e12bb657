# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop day, end to end: the program ends in order on SIGTERM and SIGHUP
(settings kept, no question), one instance per session takes over a second
start, a start during the end runs in its place, and the command line, also
without a display.

Usage: /usr/bin/python3 test_session.py --program PATH [--plugin-dir DIR] [unittest args]
"""

import os
import signal
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import a11y  # noqa: E402
import e2erun  # noqa: E402
import test_capture  # noqa: E402
import test_options  # noqa: E402
import test_tray  # noqa: E402
from a11y import Atspi  # noqa: E402
from desktop import wait_until  # noqa: E402
from test_startup import EXIT_QUESTION, read_ini  # noqa: E402
from test_tray import ShownMenus  # noqa: E402

setUpModule, tearDownModule = test_capture.setUpModule, test_capture.tearDownModule


class SessionTest(test_options.ProgramTestCase):

    def setUp(self):
        super().setUp()
        self.config = self.session.path(f'config-{test_capture.ProgramTestCase.runs}')
        self.ini = os.path.join(self.config, 'QVScrivel.ini')

    def run_again(self, *args, **changes):
        """Runs the program to its end; changes set (or, as None, remove)
        environment variables."""
        env = dict(self.session.env, XDG_CONFIG_HOME=self.config, QT_QPA_PLATFORM='xcb')
        if test_capture.PLUGIN_DIR:
            env['SCRIVEL_PLUGIN_DIR'] = test_capture.PLUGIN_DIR
        for name, value in changes.items():
            if value is None:
                env.pop(name, None)
            else:
                env[name] = value
        return subprocess.run([test_capture.PROGRAM, *args], env=env, capture_output=True,
                              text=True, timeout=10, stdin=subprocess.DEVNULL)

    def name_owner_pid(self):
        """The process holding the program's name on the session bus, or None."""
        result = subprocess.run(
            ['dbus-send', '--session', '--print-reply', '--dest=org.freedesktop.DBus',
             '/org/freedesktop/DBus', 'org.freedesktop.DBus.GetConnectionUnixProcessID',
             'string:org.scrivel.Scrivel'],
            env=self.session.env, capture_output=True, text=True, timeout=10)
        return int(result.stdout.split()[-1]) if result.returncode == 0 else None

    def mapped(self):
        return test_tray.TrayTest.mapped(self)

    def hide_in_tray(self):
        wait_until(lambda: self.session.tray_icon_window(self.wm_class), 5, 'the tray icon')
        self.keys(self.window, 'F3')
        wait_until(lambda: not self.mapped(), 5, 'the window to hide')

    def end_with(self, signum):
        self.proc.send_signal(signum)
        self.assertEqual(self.proc.wait(timeout=5), 0, self.session.log_of(self.proc))
        self.ended = True

    def _stop_program(self):
        if getattr(self, 'ended', False):
            self.session.end(self.proc)
        else:
            super()._stop_program()

    def test_sigterm_during_the_exit_question_keeps_the_settings(self):
        self.set_interval('1234')
        self.keys(self.window, 'F12')
        alert = wait_until(lambda: a11y.find(self.app, roles=(Atspi.Role.ALERT,), depth=2),
                           10, 'the exit question')
        self.assertIsNotNone(a11y.find(alert, EXIT_QUESTION, (Atspi.Role.LABEL,)))
        self.end_with(signal.SIGTERM)
        stored = read_ini(self.ini)
        self.assertEqual((stored['Altro/Ref'], stored['Altro/ConfUsc']), ('1234', '1'))

    def test_sighup_hidden_in_the_tray_keeps_the_settings(self):
        self.set_interval('900')
        self.hide_in_tray()
        self.end_with(signal.SIGHUP)
        stored = read_ini(self.ini)
        self.assertEqual((stored['Altro/Ref'], stored['Altro/VisualizzaIcona']), ('900', '1'))

    def test_a_start_during_the_end_runs_in_its_place(self):
        # Many keys make the end last (the file is written whole), so that a
        # start in its first 50 ms meets the program still ending.
        with open(self.ini, 'a', encoding='utf-8') as f:
            f.write('[Note]\n' + ''.join(f'n{i:05d}=x\n' for i in range(50000)))
        for delay in (0, 0.025, 0.05):
            with self.subTest(delay=delay):
                if self.proc.poll() is not None:  # lost in an earlier round
                    self.session.end(self.proc)
                    self.proc = self.session.start_program(
                        test_capture.PROGRAM, test_capture.PLUGIN_DIR, self.config)
                    self.session.main_window(self.proc, test_capture.TITLE, timeout=15)
                ending = self.proc
                ending.send_signal(signal.SIGTERM)
                time.sleep(delay)
                self.proc = self.session.start_program(test_capture.PROGRAM,
                                                       test_capture.PLUGIN_DIR, self.config)
                self.assertEqual(ending.wait(timeout=10), 0)
                self.session.end(ending)
                # The new start runs, and owns the name that later starts look for.
                self.session.main_window(self.proc, test_capture.TITLE, timeout=15)
                wait_until(lambda: self.name_owner_pid() == self.proc.pid, 5,
                           'the new start to own the name')

    def test_second_start_shows_the_first_window(self):
        self.hide_in_tray()
        started = time.monotonic()
        second = self.run_again()
        self.assertEqual(second.returncode, 0, second.stderr)
        self.assertLess(time.monotonic() - started, 2.0)
        wait_until(self.mapped, 2, 'the first window to come back')
        self.assertEqual(self.proc.poll(), None)

    def test_menu_option_opens_the_running_copy_menu(self):
        self.session.copy_text('abc')
        self.wait_rows(['abc'])
        self.hide_in_tray()
        menus = ShownMenus()
        self.addCleanup(menus.close)
        # The menu alone leaves the window in the tray; asked for too, it comes back.
        for args, shown in ((('--menu',), False), (('--show', '--menu'), True)):
            with self.subTest(args=args):
                menus.menus.clear()
                second = self.run_again(*args)
                self.assertEqual(second.returncode, 0, second.stderr)
                menu = menus.wait()
                names = [a11y._call(item.get_name) for item in a11y.children(menu)]
                self.assertIn('abc', names)
                self.assertIn('Copia il contenuto di:', names)
                if shown:
                    wait_until(self.mapped, 2, 'the window to come back')
                else:
                    self.assertFalse(self.mapped())
                subprocess.run(['xdotool', 'key', 'Escape'], env=self.session.env, timeout=10)
                wait_until(lambda: not a11y._call(menu.get_state_set).contains(
                    Atspi.StateType.SHOWING), 5, 'the menu to close')

    def test_without_a_display_only_a_running_program_serves_the_start(self):
        self.hide_in_tray()
        shown = self.run_again('--show', DISPLAY=None)
        self.assertEqual(shown.returncode, 0, shown.stderr)
        wait_until(self.mapped, 2, 'the window to come back')
        # A display number no X server holds here.
        number = next(n for n in range(60000, 61000)
                      if not os.path.exists(f'/tmp/.X11-unix/X{n}')
                      and not os.path.exists(f'/tmp/.X{n}-lock'))
        no_bus = 'unix:path=' + self.session.path('no-bus')
        for display, named in ((None, 'DISPLAY'), (f':{number}', f':{number}')):
            with self.subTest(display=display):
                alone = self.run_again(DISPLAY=display, DBUS_SESSION_BUS_ADDRESS=no_bus)
                self.assertEqual(alone.returncode, 1, alone.stderr)
                self.assertEqual(len(alone.stderr.splitlines()), 1, alone.stderr)
                self.assertIn(named, alone.stderr)

    def test_version_and_an_unknown_option(self):
        version = self.run_again('--version')
        self.assertEqual((version.returncode, version.stdout), (0, 'Scrivel 5.0\n'))
        wrong = self.run_again('--sbagliata')
        self.assertEqual(wrong.returncode, 2)
        self.assertEqual(len(wrong.stderr.splitlines()), 1, wrong.stderr)
        self.assertIn('--sbagliata', wrong.stderr)
        # The running program was not asked anything.
        self.assertEqual(self.proc.poll(), None)


if __name__ == '__main__':
    sys.exit(e2erun.run_tests(test_capture))
