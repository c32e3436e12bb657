# SPDX-License-Identifier: GPL-3.0-or-later
"""Shows Scrivel at work where there is no display.

Starts a private desktop session, starts Scrivel in it, copies a few texts
from another program, waits until Scrivel has captured them, saves a
screenshot, prints its path and the captured entries, and stops the session.

Usage: /usr/bin/python3 demo.py --program PATH [--plugin-dir DIR] [--out DIR]
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import a11y  # noqa: E402
import desktop  # noqa: E402
from desktop import wait_until  # noqa: E402

TITLE = 'Q&V Scrivel'
TEXTS = [
    'Buongiorno! La riunione è spostata alle 15:30.',
    'Via Garibaldi 12, 10122 Torino',
    'Perché no?\nIl testo può andare a capo.',
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--program', required=True)
    parser.add_argument('--plugin-dir')
    parser.add_argument('--out', default='.')
    args = parser.parse_args()

    os.makedirs(args.out, exist_ok=True)
    shot = os.path.abspath(os.path.join(
        args.out, time.strftime('scrivel-%Y%m%d-%H%M%S.png')))

    with desktop.Session() as session:
        desktop.install_signal_teardown(lambda: session)
        a11y.connect(session)
        print(f'Private desktop session on display {session.display_name}')
        proc = session.start_program(os.path.abspath(args.program), args.plugin_dir,
                                     session.path('config'))
        window = session.main_window(proc, TITLE, timeout=20)
        app = a11y.application(proc.pid)
        history = a11y.history_list(a11y.main_window(app, TITLE))

        for text in TEXTS:
            print(f'Copying from another program: {text!r}')
            session.copy_text(text)
            wait_until(lambda: text in a11y.row_names(history), 5,
                       f'Scrivel to capture {text!r}')

        # Let the tray go back to its normal picture before the screenshot.
        icon = session.tray_icon_window(session.wm_class(window))
        if icon is not None:
            try:
                wait_until(lambda: session.picture_of(icon) == 'normal', 2, 'the tray')
            except TimeoutError:
                pass
        session.screenshot(shot)
        entries = a11y.row_names(history)

    print(f'Screenshot: {shot}')
    print(f'Captured entries ({len(entries)}):')
    for i, entry in enumerate(entries):
        print(f'  {i}: {entry!r}')
    return 0 if entries == TEXTS else 1


if __name__ == '__main__':
    sys.exit(main())
