# SPDX-License-Identifier: GPL-3.0-or-later
"""Scrivel side by side with peer clipboard managers, in one private session.

Each program runs alone in turn, in the same session, and is measured from
outside (/proc): CPU per capture of a distinct 1 KB text copied once per
0.75 s (over the CPU it spends idle), and CPU per minute while idle. Scrivel
runs twice, with accessibility off and on. Then Scrivel alone: resident
memory with 32,766 entries of 1 KB, and after "Svuota lista".

Usage: /usr/bin/python3 bench/bench_peers.py --program build/bin/scrivel
       [--plugin-dir build/bin] [--peers xfce4-clipman,clipit,copyq]
       [--only capture,memory] [--texts N]
The peers come from Debian (apt-get install xfce4-clipman clipit copyq); a
missing one is left out. Run it on a quiet machine and read the ratios.
"""

import argparse
import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'tests', 'e2e'))

import a11y  # noqa: E402
import desktop  # noqa: E402
from bench_program import TITLE, start_program  # noqa: E402
from desktop import wait_until  # noqa: E402
from gi.repository import Atspi  # noqa: E402

CAPACITY = 32766


def cpu_seconds(pid):
    """CPU time of every thread of the process, to the nanosecond (the
    scheduler's own account; /proc/PID/stat counts in 10 ms ticks)."""
    total = 0
    for task in os.listdir(f'/proc/{pid}/task'):
        try:
            with open(f'/proc/{pid}/task/{task}/schedstat') as f:
                total += int(f.read().split()[0])
        except OSError:
            pass  # the thread just ended
    return total / 1e9


def rss_mib(pid):
    with open(f'/proc/{pid}/status') as f:
        for line in f:
            if line.startswith('VmRSS:'):
                return int(line.split()[1]) / 1024
    return 0.0


def kilobyte_text(i):
    return f'{i:06d} ' + ('testo di prova è ' * 64)[:1017]


def start(session, args, name):
    """Starts one program; returns its process."""
    if name.startswith('scrivel'):
        config = session.path(f'config-{time.monotonic_ns()}')
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, 'QVScrivel.ini'), 'w') as f:
            f.write('[Altro]\nConfUsc=0\n')
        env = dict(session.env, QT_QPA_PLATFORM='xcb', XDG_CONFIG_HOME=config)
        if name == 'scrivel+a11y':
            env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_ACCESSIBILITY='1')
        if args.plugin_dir:
            env['SCRIVEL_PLUGIN_DIR'] = args.plugin_dir
        proc = session.spawn([os.path.abspath(args.program)], env=env, name='scrivel')
        session.main_window(proc, TITLE, timeout=20)
        return proc
    return session.spawn([name], name=name)


def capture(session, args, name):
    session.release_clipboard()
    proc = start(session, args, name)
    time.sleep(3)  # settled
    before = cpu_seconds(proc.pid)
    time.sleep(args.idle)
    idle_rate = (cpu_seconds(proc.pid) - before) / args.idle
    session.copy_text('prima')
    time.sleep(2)
    before = cpu_seconds(proc.pid)
    start_time = time.monotonic()
    for i in range(args.texts):
        session.copy_text(kilobyte_text(i))
        time.sleep(max(0.0, start_time + (i + 1) * 0.75 - time.monotonic()))
    time.sleep(1.5)
    elapsed = time.monotonic() - start_time
    spent = cpu_seconds(proc.pid) - before - idle_rate * elapsed
    alive = proc.poll() is None
    session.end(proc)
    session.release_clipboard()
    return spent / args.texts, idle_rate * 60, alive


def memory(session, args):
    session.release_clipboard()
    proc, _, lst = start_program(session, args, '[Altro]\nConfUsc=0\nRef=100\n')
    time.sleep(3)
    idle_rss = rss_mib(proc.pid)
    base = ('testo di prova è ' * 64)[:1010]
    filled_from = time.monotonic()
    session.copy_scripted('--text', base, '--burst', str(CAPACITY))
    wait_until(lambda: a11y.row_count(lst) >= CAPACITY, 900, 'every entry captured', 1.0)
    filled = time.monotonic() - filled_from
    time.sleep(2)
    full_rss = rss_mib(proc.pid)
    session.release_clipboard()  # nothing on the clipboard: no question
    window = a11y.main_window(a11y.application(proc.pid), TITLE)
    button = a11y.find(window, 'Svuota lista', (Atspi.Role.PUSH_BUTTON,))
    Atspi.Action.do_action(button, 0)
    emptied_at = time.monotonic()
    wait_until(lambda: a11y.row_count(lst) == 0, 30, 'the history emptied', 0.05)
    time.sleep(max(0.0, emptied_at + 2 - time.monotonic()))
    after_rss = rss_mib(proc.pid)
    print(f'scrivel memory: idle {idle_rss:.1f} MiB; {CAPACITY} entries of 1 KB '
          f'(captured in {filled:.0f} s from a burst) {full_rss:.1f} MiB; 2 s after '
          f'"Svuota lista" {after_rss:.1f} MiB ({after_rss - idle_rss:+.1f} MiB over idle)')
    session.end(proc)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--program', required=True)
    parser.add_argument('--plugin-dir')
    parser.add_argument('--peers', default='xfce4-clipman,clipit,copyq')
    parser.add_argument('--only', default='capture,memory')
    parser.add_argument('--texts', type=int, default=100)
    parser.add_argument('--idle', type=int, default=30, help='seconds of idle measured')
    args = parser.parse_args()
    wanted = args.only.split(',')
    peers = [p for p in args.peers.split(',') if p and shutil.which(p)]
    with desktop.Session() as session:
        desktop.install_signal_teardown(lambda: session)
        a11y.connect(session)
        if 'capture' in wanted:
            results = {}
            for name in ['scrivel', 'scrivel+a11y', *peers]:
                results[name] = capture(session, args, name)
            # A peer that spends no CPU on the copies did not capture them here.
            capturing = [results[p][0] for p in peers if results[p][0] > 1e-4]
            leanest = min(capturing, default=None)
            for name, (per_capture, idle_per_minute, alive) in results.items():
                ratio = f'; {per_capture / leanest:.2f}x the leanest peer' if leanest else ''
                note = ('' if alive else ' (it ended during the run)') + (
                    ' (no CPU spent on the copies: it did not capture here)'
                    if per_capture <= 1e-4 else '')
                print(f'{name:14s} CPU per capture {1000 * per_capture:6.2f} ms{ratio}; idle '
                      f'{idle_per_minute:.3f} s of CPU per minute{note}')
        if 'memory' in wanted:
            memory(session, args)
    return 0


if __name__ == '__main__':
    sys.exit(main())
