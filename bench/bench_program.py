# SPDX-License-Identifier: GPL-3.0-or-later
"""Figures of the real program in a private desktop session.

Measures: CPU and memory while idle; capturing many texts; capture time,
window responsiveness (window-manager pings and accessibility queries, both
answered by the UI thread) and
memory for 10 MB and 50 MB texts; responsiveness while a clipboard owner
never answers. Beside peer clipboard managers ("capture"): each program runs
alone in turn, measured from outside (/proc), for its CPU per capture of a
distinct 1 KB text copied once per 0.75 s (over the CPU it spends idle) and
its CPU per minute while idle; Scrivel runs with accessibility off and on.
"memory": resident memory with 32,766 entries of 1 KB, and after "Svuota
lista".

Usage: /usr/bin/python3 bench/bench_program.py --program build/bin/scrivel
       [--plugin-dir build/bin] [--only idle,many,big,hung,capture,memory]
       [--many N] [--texts N] [--peers xfce4-clipman,clipit,copyq]
The peers come from Debian (apt-get install xfce4-clipman clipit copyq); a
missing one is left out. Run it on a quiet machine: the figures are
wall-clock ones; read the ratios.
"""

import argparse
import os
import shutil
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'tests', 'e2e'))

import a11y  # noqa: E402
import desktop  # noqa: E402
from desktop import wait_until  # noqa: E402
from gi.repository import Atspi  # noqa: E402

TITLE = 'Q&V Scrivel'
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


def pss_mib(pid):
    with open(f'/proc/{pid}/smaps_rollup') as f:
        for line in f:
            if line.startswith('Pss:'):
                return int(line.split()[1]) / 1024
    return 0.0


def watch(session, window, lst, seconds=None, until=None, timeout=60):
    """Pings the window (_NET_WM_PING, answered on its UI thread) and asks it
    for its list's size every 10 ms, for some seconds or until a condition
    holds. Returns the times of both kinds of answer."""
    times = []
    start = time.monotonic()
    while True:
        times.append(session.ping(window))
        count, took = a11y.timed(a11y.row_count, lst)
        times.append(took)
        elapsed = time.monotonic() - start
        if seconds is not None and elapsed >= seconds:
            return times
        if until is not None and until(count):
            return times
        if elapsed > timeout:
            raise TimeoutError('the condition never held')
        time.sleep(0.01)


def answers(times):
    return (f'window answered pings and queries within {1000 * max(times):.1f} ms at worst, '
            f'median {1000 * statistics.median(times):.2f} ms ({len(times)} answers)')


def kilobyte_text(i):
    return f'{i:06d} ' + ('testo di prova è ' * 64)[:1017]


def config_dir(session, ini_text):
    """A configuration folder of its own holding these settings."""
    config = session.path(f'config-{time.monotonic_ns()}')
    os.makedirs(config, exist_ok=True)
    with open(os.path.join(config, 'QVScrivel.ini'), 'w') as f:
        f.write(ini_text)
    return config


def start_program(session, args, ini_text):
    session.release_clipboard()  # each run starts with nothing to capture
    proc = session.start_program(os.path.abspath(args.program), args.plugin_dir,
                                 config_dir(session, ini_text))
    window = session.main_window(proc, TITLE, timeout=20)
    app = a11y.application(proc.pid)
    lst = a11y.history_list(a11y.main_window(app, TITLE))
    return proc, window, lst


def idle(session, args):
    proc, _, _ = start_program(session, args, '[Altro]\nConfUsc=0\n')
    session.copy_text('un testo qualunque')
    time.sleep(3)
    before, pss = cpu_seconds(proc.pid), pss_mib(proc.pid)
    time.sleep(60)
    print(f'idle 60 s: {cpu_seconds(proc.pid) - before:.3f} s of CPU; '
          f'PSS {pss:.1f} MiB at start, {pss_mib(proc.pid):.1f} MiB after')
    session.end(proc)


def many(session, args):
    proc, _, lst = start_program(session, args, '[Altro]\nConfUsc=0\n')
    time.sleep(2)
    cpu0, pss0 = cpu_seconds(proc.pid), pss_mib(proc.pid)
    texts = [kilobyte_text(i) for i in range(args.many)]
    start = time.monotonic()
    for i, text in enumerate(texts):
        session.copy_text(text)
        time.sleep(max(0.0, start + (i + 1) * 0.6 - time.monotonic()))
    wait_until(lambda: a11y.row_count(lst) == len(texts), 10, 'every text captured')
    print(f'{len(texts)} texts of 1 KB, 0.6 s apart: all {a11y.row_count(lst)} captured; '
          f'{cpu_seconds(proc.pid) - cpu0:.2f} s of CPU; '
          f'PSS +{pss_mib(proc.pid) - pss0:.1f} MiB')
    session.end(proc)


def big(session, args, megabytes):
    # A short interval, so that the time to capture is not hidden by the tick.
    proc, window, lst = start_program(session, args, '[Altro]\nConfUsc=0\nRef=50\n')
    time.sleep(2)
    pss0 = pss_mib(proc.pid)
    text = ('Riga di prova con lettere accentate: è, à, ù.\n' * (megabytes * 1024 * 1024 // 48))
    copied = time.monotonic()
    session.copy_text(text)
    owned = time.monotonic()
    times = watch(session, window, lst, until=lambda count: count == 1)
    done = time.monotonic()
    times += watch(session, window, lst, seconds=1)
    print(f'{megabytes} MB text: on the list {1000 * (done - owned):.0f} ms after the other '
          f'program took the clipboard ({1000 * (owned - copied):.0f} ms to take it; ticks every '
          f'50 ms); {answers(times)}; PSS +{pss_mib(proc.pid) - pss0:.1f} MiB')
    session.end(proc)


def hung(session, args):
    proc, window, lst = start_program(session, args, '[Altro]\nConfUsc=0\n')
    time.sleep(2)
    session.hang_clipboard()
    times = watch(session, window, lst, seconds=20)
    session.release_clipboard()
    session.copy_text('dopo il blocco')
    start = time.monotonic()
    wait_until(lambda: 'dopo il blocco' in a11y.row_names(lst), 10, 'the copy captured', 0.01)
    captured = time.monotonic() - start
    print(f'owner that never answers, 20 s: {answers(times)}; '
          f'the next copy was on the list {1000 * captured:.0f} ms later (ticks every 700 ms)')
    session.end(proc)


def start(session, args, name):
    """Starts Scrivel ("scrivel", "scrivel+a11y") or a peer; returns its process."""
    if not name.startswith('scrivel'):
        return session.spawn([name], name=name)
    proc = session.start_program(os.path.abspath(args.program), args.plugin_dir,
                                 config_dir(session, '[Altro]\nConfUsc=0\n'),
                                 accessible=name == 'scrivel+a11y')
    session.main_window(proc, TITLE, timeout=20)
    return proc


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
    parser.add_argument('--only', default='idle,many,big,hung,capture,memory')
    parser.add_argument('--many', type=int, default=1000)
    parser.add_argument('--texts', type=int, default=100)
    parser.add_argument('--idle', type=int, default=30, help='seconds of idle measured')
    parser.add_argument('--peers', default='xfce4-clipman,clipit,copyq')
    args = parser.parse_args()
    wanted = args.only.split(',')
    peers = [p for p in args.peers.split(',') if p and shutil.which(p)]
    with desktop.Session() as session:
        desktop.install_signal_teardown(lambda: session)
        a11y.connect(session)
        if 'idle' in wanted:
            idle(session, args)
        if 'big' in wanted:
            big(session, args, 10)
            big(session, args, 50)
        if 'hung' in wanted:
            hung(session, args)
        if 'many' in wanted:
            many(session, args)
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
