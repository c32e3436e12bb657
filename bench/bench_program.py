# SPDX-License-Identifier: GPL-3.0-or-later
"""Figures of the real program in a private desktop session.

Measures: CPU and memory while idle; capturing many texts; capture time,
window responsiveness (window-manager pings and accessibility queries, both
answered by the UI thread) and resident memory growth for 10 MB and 50 MB
ASCII texts ("big"); responsiveness while a clipboard owner never answers.
Beside peer clipboard managers, each program running alone in turn, measured
from outside (/proc, the process with its children):
"capture": CPU per capture of a distinct 1 KB text copied once per 0.75 s
(over the CPU it spends idle) and CPU per minute while idle; Scrivel runs
with accessibility off and on.
"bigmem": "big" for Scrivel, and for each peer the growth of its resident
memory (VmRSS) from settled to 2 s after it took in the same texts (its CPU
and memory steady); growth over the text's size, and Scrivel's growth over
the leanest peer's.
"memory": Scrivel's resident memory with 32,766 entries of 1 KB, and after
"Svuota lista".

Usage: /usr/bin/python3 bench/bench_program.py --program build/bin/scrivel
       [--plugin-dir build/bin] [--only idle,many,big,bigmem,hung,capture,memory]
       [--many N] [--texts N] [--peers xfce4-clipman,clipit,copyq]
The peers come from Debian (apt-get install xfce4-clipman clipit copyq); a
missing one is left out; each run of a peer gets a home folder of its own.
Run it on a quiet machine: the figures are wall-clock ones; read the ratios.
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


def family(pid):
    """The process and its descendants (a peer may keep the clipboard in a
    child process)."""
    children = {}
    for name in filter(str.isdigit, os.listdir('/proc')):
        try:
            with open(f'/proc/{name}/stat') as f:
                ppid = int(f.read().rsplit(')', 1)[1].split()[1])
        except OSError:
            continue  # it just ended
        children.setdefault(ppid, []).append(int(name))
    found = [pid]
    for member in found:
        found += children.get(member, [])
    return found


def family_figures(pid):
    """CPU seconds and resident MiB of the process with its descendants."""
    cpu = rss = 0.0
    for member in family(pid):
        try:
            cpu, rss = cpu + cpu_seconds(member), rss + rss_mib(member)
        except OSError:
            pass  # it just ended
    return cpu, rss


def settle(pid, quiet=2.0, timeout=60):
    """Waits until the process has spent next to no CPU (under 2% of a core)
    and kept its resident memory (within 0.25 MiB) for `quiet` seconds.
    Returns that memory in MiB, and whether it settled before the timeout."""
    start = time.monotonic()
    since, (cpu0, rss0) = start, family_figures(pid)
    while True:
        time.sleep(0.1)
        now, (cpu, rss) = time.monotonic(), family_figures(pid)
        if cpu - cpu0 > 0.005 + 0.02 * (now - since) or abs(rss - rss0) > 0.25:
            since, cpu0, rss0 = now, cpu, rss
        elif now - since >= quiet:
            return rss, True
        if now - start > timeout:
            return rss, False


def growth(rss0, rss1, megabytes, settled=True):
    note = '' if settled else ' (never steady within the timeout)'
    return (f'RSS {rss0:.1f} -> {rss1:.1f} MiB, {rss1 - rss0:+.1f} MiB '
            f'= {(rss1 - rss0) / megabytes:.2f}x the text{note}')


def ascii_text(megabytes):
    line = 'Riga di prova in ASCII, senza accenti: a, e, i, o, u; 012345678\n'
    return line * (megabytes * 1024 * 1024 // len(line))


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
    """Scrivel takes in a big text; prints and returns its memory growth."""
    # A short interval, so that the time to capture is not hidden by the tick.
    proc, window, lst = start_program(session, args, '[Altro]\nConfUsc=0\nRef=50\n')
    rss0, settled = settle(proc.pid)
    text = ascii_text(megabytes)
    copied = time.monotonic()
    session.copy_text(text)
    owned = time.monotonic()
    times = watch(session, window, lst, until=lambda count: count == 1)
    done = time.monotonic()
    times += watch(session, window, lst, seconds=2)
    rss1 = family_figures(proc.pid)[1]
    print(f'scrivel {megabytes} MB text: on the list {1000 * (done - owned):.0f} ms after the '
          f'other program took the clipboard ({1000 * (owned - copied):.0f} ms to take it; '
          f'ticks every 50 ms); {answers(times)}; {growth(rss0, rss1, megabytes, settled)}')
    session.end(proc)
    return rss1 - rss0


def peer_big(session, args, name, megabytes):
    """A peer takes in a big text; prints and returns its memory growth."""
    session.release_clipboard()
    proc = start(session, args, name)
    rss0, settled = settle(proc.pid)
    cpu0 = family_figures(proc.pid)[0]
    copied = time.monotonic()
    session.copy_text(ascii_text(megabytes))
    _, captured = settle(proc.pid)  # took it in: CPU and memory steady
    done = time.monotonic()
    time.sleep(2)
    cpu1, rss1 = family_figures(proc.pid)
    note = '' if proc.poll() is None else ' (it ended during the run)'
    print(f'{name} {megabytes} MB text: steady {done - copied:.1f} s after the copy, '
          f'{cpu1 - cpu0:.2f} s of CPU; {growth(rss0, rss1, megabytes, settled and captured)}'
          f'{note}')
    session.end(proc)
    return rss1 - rss0


def bigmem(session, args, peers):
    for megabytes in (10, 50):
        own = big(session, args, megabytes)
        grown = {name: peer_big(session, args, name, megabytes) for name in peers}
        # A peer whose memory hardly grew did not keep the text here.
        kept = {name: g for name, g in grown.items() if g > 0.25 * megabytes}
        if kept:
            leanest = min(kept, key=kept.get)
            print(f'{megabytes} MB text: scrivel grew {own / kept[leanest]:.2f}x as much as the '
                  f'leanest peer ({leanest}, {kept[leanest]:+.1f} MiB)'
                  + ''.join(f'; {name} did not keep it' for name in grown if name not in kept))


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


def peer_command(name):
    """Debian's clipit is a wrapper that only says it is deprecated and starts
    nothing; the program is clipit.real."""
    return shutil.which(f'{name}.real') or shutil.which(name)


def start(session, args, name):
    """Starts Scrivel ("scrivel", "scrivel+a11y") or a peer; returns its process."""
    if not name.startswith('scrivel'):
        # A home of its own, so that it finds no history an earlier run saved.
        home = session.path(f'home-{name}-{time.monotonic_ns()}')
        os.makedirs(home)
        env = dict(session.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, '.config'),
                   XDG_DATA_HOME=os.path.join(home, '.local', 'share'),
                   XDG_CACHE_HOME=os.path.join(home, '.cache'),
                   XDG_STATE_HOME=os.path.join(home, '.local', 'state'))
        return session.spawn([peer_command(name)], env=env, name=name)
    proc = session.start_program(os.path.abspath(args.program), args.plugin_dir,
                                 config_dir(session, '[Altro]\nConfUsc=0\n'),
                                 accessible=name == 'scrivel+a11y')
    session.main_window(proc, TITLE, timeout=20)
    return proc


def capture(session, args, name):
    session.release_clipboard()
    proc = start(session, args, name)
    time.sleep(3)  # settled
    before = family_figures(proc.pid)[0]
    time.sleep(args.idle)
    idle_rate = (family_figures(proc.pid)[0] - before) / args.idle
    session.copy_text('prima')
    time.sleep(2)
    before = family_figures(proc.pid)[0]
    start_time = time.monotonic()
    for i in range(args.texts):
        session.copy_text(kilobyte_text(i))
        time.sleep(max(0.0, start_time + (i + 1) * 0.75 - time.monotonic()))
    time.sleep(1.5)
    elapsed = time.monotonic() - start_time
    spent = family_figures(proc.pid)[0] - before - idle_rate * elapsed
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
    parser.add_argument('--only', default='idle,many,big,bigmem,hung,capture,memory')
    parser.add_argument('--many', type=int, default=1000)
    parser.add_argument('--texts', type=int, default=100)
    parser.add_argument('--idle', type=int, default=30, help='seconds of idle measured')
    parser.add_argument('--peers', default='xfce4-clipman,clipit,copyq')
    args = parser.parse_args()
    wanted = args.only.split(',')
    peers = [p for p in args.peers.split(',') if p and peer_command(p)]
    with desktop.Session() as session:
        desktop.install_signal_teardown(lambda: session)
        a11y.connect(session)
        if 'idle' in wanted:
            idle(session, args)
        if 'big' in wanted or 'bigmem' in wanted:  # bigmem holds big's figures
            bigmem(session, args, peers if 'bigmem' in wanted else [])
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
