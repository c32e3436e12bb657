# SPDX-License-Identifier: GPL-3.0-or-later
"""The installed program, end to end, in a private desktop session: it loads
its own plugin from the installed library folder and opens the installed help
pages, with nothing in its environment pointing at them, and its window
matches its desktop entry.

Usage: /usr/bin/python3 test_installed.py --prefix DIR --bindir REL
       --plugin-from-bin REL --data-from-bin REL [unittest args]
"""

import argparse
import os
import stat
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'e2e'))

import a11y  # noqa: E402
import desktop  # noqa: E402
import test_capture  # noqa: E402
from desktop import wait_until  # noqa: E402
from gi.repository import Atspi  # noqa: E402

import installedtree as tree  # noqa: E402

LAYOUT = None
OPENER_LOG = None


def setUpModule():
    global OPENER_LOG
    test_capture.setUpModule()
    session = test_capture._session
    # A stand-in for the desktop's opener: it writes down what it was asked
    # to open instead of opening it.
    fake_bin = session.path('fake-bin')
    os.makedirs(fake_bin)
    OPENER_LOG = session.path('opened.txt')
    opener = os.path.join(fake_bin, 'xdg-open')
    with open(opener, 'w') as f:
        f.write('#!/bin/sh\n'
                f'printf "%s\\n" "$@" > "{OPENER_LOG}.part" && mv "{OPENER_LOG}.part" "{OPENER_LOG}"\n')
    os.chmod(opener, stat.S_IRWXU)
    session.env['PATH'] = fake_bin + os.pathsep + session.env.get('PATH', '/usr/bin:/bin')


def tearDownModule():
    test_capture.tearDownModule()


def process_environment(pid):
    with open(f'/proc/{pid}/environ', 'rb') as f:
        items = f.read().split(b'\0')
    return dict(item.decode(errors='replace').split('=', 1) for item in items if b'=' in item)


def mapped_files(pid):
    with open(f'/proc/{pid}/maps') as f:
        return {line.split(None, 5)[5].strip() for line in f if len(line.split(None, 5)) == 6}


class InstalledProgramTest(test_capture.ProgramTestCase):

    def test_loads_its_plugin_from_the_installed_library_folder(self):
        self.assertNotIn('SCRIVEL_PLUGIN_DIR', process_environment(self.proc.pid))
        self.icon()  # only the plugin puts an icon in the tray
        plugins = {path for path in mapped_files(self.proc.pid)
                   if os.path.basename(path) == tree.PLUGIN}
        self.assertEqual(plugins, {os.path.realpath(LAYOUT.plugin)})

    def test_window_belongs_to_its_desktop_entry(self):
        # Desktops match running windows to their entry by the window class.
        entry = tree.read_desktop_entry(LAYOUT.desktop_entry)
        self.assertIsNotNone(self.wm_class)
        self.assertEqual(self.wm_class[1], entry['StartupWMClass'])

    def test_help_opens_the_installed_contents_page(self):
        app = a11y.application(self.proc.pid)
        item = wait_until(lambda: a11y.find(app, 'Guida', (Atspi.Role.MENU_ITEM,)), 5,
                          'the menu item "Guida"')
        started = time.monotonic()
        item.do_action(0)
        wait_until(lambda: os.path.exists(OPENER_LOG), 5, 'the opener to be started')
        with open(OPENER_LOG) as f:
            arguments = f.read().splitlines()
        test_capture.report('opener started after', f'{time.monotonic() - started:.3f} s')
        contents = os.path.join(os.path.realpath(LAYOUT.help), 'index.html')
        self.assertEqual(arguments, [contents])
        self.assertTrue(os.path.isfile(contents))


def main():
    global LAYOUT
    parser = argparse.ArgumentParser()
    for name in ('--prefix', '--bindir', '--plugin-from-bin', '--data-from-bin'):
        parser.add_argument(name, required=True)
    args, rest = parser.parse_known_args()
    LAYOUT = tree.Layout(os.path.abspath(args.prefix), args.bindir, args.plugin_from_bin,
                         args.data_from_bin)
    if not os.access(LAYOUT.program, os.X_OK):
        print(f'nothing is installed in {args.prefix}', file=sys.stderr)
        return 1
    # The program must find its files on its own.
    os.environ.pop('SCRIVEL_PLUGIN_DIR', None)
    test_capture.PROGRAM, test_capture.PLUGIN_DIR = LAYOUT.program, None
    desktop.install_signal_teardown(lambda: test_capture._session)
    program = unittest.main(argv=[sys.argv[0]] + rest, verbosity=2, exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == '__main__':
    sys.exit(main())
