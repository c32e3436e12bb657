# SPDX-License-Identifier: GPL-3.0-or-later
"""A private Wayland desktop session with XWayland, for driving Scrivel as a
user of a Wayland desktop does: a headless compositor (kwin_wayland or sway)
that this session starts and stops, the same session bus and folders as the
X11 session, and Wayland clients for the clipboard (wl-copy, wl-paste) and
for the focus (a GTK 4 window).

kwin_wayland runs from a copy of its binary without the file capabilities a
container refuses; sway refuses to run as root and so runs as the
unprivileged user `nobody`, whose XWayland then lets root's clients in.

Run with Debian's /usr/bin/python3 (python3-xlib, python3-gi).
"""

import json
import os
import pwd
import shutil
import subprocess

from Xlib import X, display as xdisplay

import desktop
from desktop import wait_until

HERE = os.path.dirname(os.path.abspath(__file__))
WINDOW_SCRIPT = os.path.join(HERE, 'waylandwindow.py')
COMPOSITORS = ('kwin', 'sway')
SWAY_USER = 'nobody'

# Run by sway as its user once XWayland is up: lets root's clients in (XWayland
# admits its own user only) and tells the session what the compositor's
# clients see.
_SWAY_READY = r'''
import os, sys, time
from Xlib import X, display
for _ in range(500):
    try:
        d = display.Display(os.environ['DISPLAY'])
        break
    except Exception:
        time.sleep(0.02)
d.change_hosts(X.HostInsert, 5, b'localuser\x00root')
d.sync()
with open(sys.argv[1] + '.part', 'w') as f:
    for key in ('WAYLAND_DISPLAY', 'DISPLAY', 'SWAYSOCK', 'XDG_RUNTIME_DIR'):
        f.write(f'{key}={os.environ.get(key, "")}\n')
os.rename(sys.argv[1] + '.part', sys.argv[1])
'''


def missing(compositor):
    """What this machine lacks to run the compositor's session; None when nothing."""
    tools = {'kwin': ['kwin_wayland'], 'sway': ['sway', 'runuser']}[compositor]
    tools += ['Xwayland', 'wl-copy', 'wl-paste']
    absent = [tool for tool in tools if shutil.which(tool) is None]
    if compositor == 'sway':
        try:
            pwd.getpwnam(SWAY_USER)
        except KeyError:
            absent.append(f'the user {SWAY_USER}')
        if os.geteuid() != 0:
            absent.append('root, to run sway as another user')
    return ', '.join(absent) or None


def _read_env(path):
    with open(path, encoding='utf-8') as f:
        return dict(line.rstrip('\n').split('=', 1) for line in f if '=' in line)


class WaylandSession(desktop.Session):
    """One private Wayland desktop: compositor with XWayland and session bus."""

    # Programs start as under a Wayland desktop: QT_QPA_PLATFORM unset.
    PROGRAM_PLATFORM = None

    def __init__(self, compositor, keep_dir=False):
        super().__init__(keep_dir)
        self.compositor = compositor
        self.wayland_display = None
        self.swaysock = None
        self.window = None
        self._copies = []

    def start(self):
        desktop.sweep_orphans()
        self._start_bus()
        if self.compositor == 'kwin':
            self._start_kwin()
        else:
            self._start_sway()
        self.env.update(WAYLAND_DISPLAY=self.wayland_display, DISPLAY=self.display_name,
                        XDG_SESSION_TYPE='wayland')
        os.environ['DISPLAY'] = self.display_name
        wait_until(self._connect_x, 15, 'XWayland to answer')
        self.root = self.x.screen().root

    def _connect_x(self):
        try:
            self.x = xdisplay.Display(self.display_name)
            return True
        except Exception:  # not up yet
            return False

    def _start_kwin(self):
        # A plain copy carries no file capabilities.
        binary = self.path('kwin_wayland')
        shutil.copy(shutil.which('kwin_wayland'), binary)
        socket = f'scrivel-e2e-{self.token[:8]}'
        env_file = self.path('kwin.env')
        env = dict(self.env, QT_QPA_PLATFORM='offscreen', XDG_SESSION_TYPE='wayland')
        self.spawn([binary, '--virtual', '--xwayland', '--width', str(desktop.SCREEN_WIDTH),
                    '--height', str(desktop.SCREEN_HEIGHT), '--socket', socket,
                    '--no-lockscreen', '--no-global-shortcuts',
                    f'sh -c "env > {env_file}.part && mv {env_file}.part {env_file}"'],
                   env=env, name='kwin')
        wait_until(lambda: os.path.exists(env_file), 30, 'kwin_wayland and its XWayland')
        inside = _read_env(env_file)
        self.wayland_display = os.path.join(self.env['XDG_RUNTIME_DIR'], socket)
        self.display_name = inside['DISPLAY']
        if inside.get('XAUTHORITY'):
            self.env['XAUTHORITY'] = os.environ['XAUTHORITY'] = inside['XAUTHORITY']

    def _start_sway(self):
        user = pwd.getpwnam(SWAY_USER)
        # sway's user passes through the session's folder to a folder of its own.
        os.chmod(self.dir, 0o711)
        home = self.path('sway')
        runtime = os.path.join(home, 'runtime')
        os.makedirs(runtime, mode=0o700)
        ready_script = os.path.join(home, 'ready.py')
        env_file = os.path.join(home, 'sway.env')
        with open(ready_script, 'w') as f:
            f.write(_SWAY_READY)
        with open(os.path.join(home, 'config'), 'w') as f:
            f.write(f'output HEADLESS-1 resolution {desktop.SCREEN_WIDTH}x'
                    f'{desktop.SCREEN_HEIGHT}\n'
                    'xwayland force\n'
                    f'exec /usr/bin/python3 {ready_script} {env_file}\n')
        for path in (home, runtime, ready_script, os.path.join(home, 'config')):
            os.chown(path, user.pw_uid, user.pw_gid)
        env = {desktop.MARK: self.token, desktop.OWNER: self.env[desktop.OWNER],
               'HOME': home, 'XDG_RUNTIME_DIR': runtime, 'PATH': '/usr/bin:/bin',
               'WLR_BACKENDS': 'headless', 'WLR_LIBINPUT_NO_DEVICES': '1',
               'WLR_RENDERER': 'pixman'}
        self.spawn(['runuser', '-u', SWAY_USER, '--', 'env', '-i',
                    *(f'{key}={value}' for key, value in env.items()),
                    'sway', '-c', os.path.join(home, 'config')], name='sway')
        wait_until(lambda: os.path.exists(env_file), 30, 'sway and its XWayland')
        inside = _read_env(env_file)
        self.wayland_display = os.path.join(inside['XDG_RUNTIME_DIR'], inside['WAYLAND_DISPLAY'])
        self.display_name = inside['DISPLAY']
        self.swaysock = inside['SWAYSOCK']

    # -- the program -------------------------------------------------------

    def client_windows(self, pid):
        """Top-level X11 windows of a process: managed ones (where the window
        manager lists them) and unmanaged ones such as menus."""
        found = super().client_windows(pid)
        for window in [self.root] + list(self._descendants(self.root)):
            pids = self._window_property(window, '_NET_WM_PID')
            if pids is not None and len(pids) and pids[0] == pid and window not in found:
                found.append(window)
        return found

    def active_x11_window(self):
        """XWayland's _NET_ACTIVE_WINDOW: 0 while no X11 window has the focus."""
        value = self.root_property('_NET_ACTIVE_WINDOW')
        return value[0] if value else 0

    # -- the focus ---------------------------------------------------------

    def focus_wayland_window(self, title='Finestra Wayland'):
        """Opens a GTK 4 Wayland window, which takes the focus."""
        env = dict(self.env, GDK_BACKEND='wayland', GSK_RENDERER='cairo')
        read_fd, write_fd = os.pipe()
        try:
            self.window = self.spawn([desktop.PYTHON, WINDOW_SCRIPT, title, str(write_fd)],
                                     env=env, name='gtkwindow', pass_fds=(write_fd,))
            os.close(write_fd)
            desktop._read_line(read_fd, 20, 'the GTK window')
        finally:
            os.close(read_fd)
        wait_until(lambda: self.wayland_window_focused(title), 10, 'the Wayland window focused')

    def wayland_window_focused(self, title):
        if self.compositor == 'sway':
            focused = self.sway_focused()
            return focused is not None and focused.get('name') == title and \
                focused.get('shell') == 'xdg_shell'
        # kwin tells X11 clients no more than that none of them has the focus.
        return self.active_x11_window() == 0

    def swaymsg(self, *args):
        result = subprocess.run(['swaymsg', '-s', self.swaysock, *args], capture_output=True,
                                text=True, timeout=10, stdin=subprocess.DEVNULL)
        return result.stdout

    def sway_views(self):
        def walk(node):
            if node.get('type') in ('con', 'floating_con') and node.get('shell'):
                yield node
            for child in node.get('nodes', []) + node.get('floating_nodes', []):
                yield from walk(child)
        return list(walk(json.loads(self.swaymsg('-t', 'get_tree'))))

    def sway_focused(self):
        return next((view for view in self.sway_views() if view.get('focused')), None)

    # -- the clipboard -----------------------------------------------------

    def copy_text(self, text):
        """A Wayland program (wl-copy) copies a text; it serves until replaced."""
        proc = self.spawn(['wl-copy', '--foreground', '--type', 'text/plain;charset=utf-8',
                           text], name='wl-copy')
        wait_until(lambda: proc.poll() is not None or self.read_clipboard() == text, 10,
                   'wl-copy to own the selection')
        self._copies = [p for p in self._copies if p.poll() is None] + [proc]
        return proc

    def copy_scripted(self, owner, *options):
        """The scriptable Wayland owner takes the selection (see its options)."""
        read_fd, write_fd = os.pipe()
        try:
            proc = self.spawn([owner, *options], name='waylandowner', stdout=write_fd)
            os.close(write_fd)
            desktop._read_line(read_fd, 10, 'the Wayland owner')
        finally:
            os.close(read_fd)
        self._copies.append(proc)
        return proc

    def release_clipboard(self):
        for proc in self._copies:
            self.end(proc)
        self._copies = []
        subprocess.run(['wl-copy', '--clear'], env=self.env, timeout=10,
                       stdin=subprocess.DEVNULL)

    def read_clipboard(self, timeout=5):
        """The selection's text as a Wayland program reads it ('' when empty)."""
        try:
            result = subprocess.run(['wl-paste', '--no-newline', '--type', 'text'],
                                    env=self.env, stdin=subprocess.DEVNULL,
                                    capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired:  # kwin leaves it waiting for no selection
            return ''
        return result.stdout.decode('utf-8', 'replace') if result.returncode == 0 else ''

    def screen_size(self):
        geometry = self.root.get_geometry()
        return geometry.width, geometry.height

    def popup_windows(self, pid):
        """The geometry of each mapped menu of the process (override-redirect windows)."""
        found = []
        for window in self.client_windows(pid):
            try:
                attributes = window.get_attributes()
                geometry = window.get_geometry()
            except Exception:  # gone meanwhile
                continue
            if attributes.override_redirect and attributes.map_state == X.IsViewable:
                found.append(geometry)
        return found
