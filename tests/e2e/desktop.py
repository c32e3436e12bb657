# SPDX-License-Identifier: GPL-3.0-or-later
"""A private X11 desktop session for driving Scrivel the way a user does.

The session runs its own X server (Xvfb), session bus, window manager and
tray host, with HOME and the XDG folders inside a temporary folder of its
own. The tray host is one of TRAY_HOSTS: trayer (with openbox), an X11
(XEmbed) tray, or Xfce's panel (with xfwm4), which shows tray icons as
StatusNotifierItems over the session bus. Every process it starts carries a
marker in its environment, so that teardown ends exactly those processes,
including the ones a daemon started and handed to init.

Run with Debian's /usr/bin/python3 (python3-xlib, python3-gi).
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time
import uuid

import gi

gi.require_version('Gio', '2.0')
from gi.repository import Gio, GLib  # noqa: E402
from Xlib import X, display as xdisplay
from Xlib.error import XError
from Xlib.protocol import event

PYTHON = '/usr/bin/python3'
HERE = os.path.dirname(os.path.abspath(__file__))
OWNER_SCRIPT = os.path.join(HERE, '..', 'support', 'clipboardowner.py')
MARK = 'SCRIVEL_E2E_SESSION'
OWNER = 'SCRIVEL_E2E_OWNER'

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 1024
TRAY_HEIGHT = 24

TRAY_HOSTS = ('trayer', 'xfce4-panel')
XFCE_PANEL_LAYOUT = '/etc/xdg/xfce4/panel/default.xml'

WATCHER = 'org.kde.StatusNotifierWatcher'
ITEM = 'org.kde.StatusNotifierItem'
PROPERTIES = 'org.freedesktop.DBus.Properties'

# Reference colours of the tray pictures (each on a transparent background
# with a white glyph).
PICTURE_COLOURS = {
    'normal': (0x25, 0x63, 0xEB),
    'capture': (0x16, 0xA3, 0x4A),
    'suspended': (0x6B, 0x72, 0x80),
}


def wait_until(condition, timeout, what, interval=0.03):
    """Polls condition() until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError(f'timed out after {timeout:.1f} s waiting for {what}')
        time.sleep(interval)


def classify_picture(pixels):
    """'normal', 'capture' or 'suspended' by the reference colour that covers
    most of the (r, g, b) pixels given, or None when none covers enough."""
    counts = dict.fromkeys(PICTURE_COLOURS, 0)
    for r, g, b in pixels:
        for name, (cr, cg, cb) in PICTURE_COLOURS.items():
            if (r - cr) ** 2 + (g - cg) ** 2 + (b - cb) ** 2 < 40 ** 2:
                counts[name] += 1
    best = max(counts, key=counts.get)
    return best if counts[best] >= 12 else None


def _read_line(fd, timeout, what):
    """Reads one line from a pipe written by a child that signals readiness."""
    data = b''
    deadline = time.monotonic() + timeout
    while not data.endswith(b'\n'):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise TimeoutError(f'{what} did not report readiness within {timeout} s')
        chunk = os.read(fd, 256)
        if not chunk:
            raise RuntimeError(f'{what} ended before reporting readiness')
        data += chunk
    return data.decode().strip()


def _process_state(pid):
    try:
        with open(f'/proc/{pid}/stat', 'rb') as f:
            return f.read().rsplit(b')', 1)[1].split()[0].decode()
    except (OSError, IndexError):
        return None


def _alive(pid):
    """A zombie counts as ended: init does not always reap here."""
    return _process_state(pid) not in (None, 'Z')


def _marked_processes():
    """Yields (pid, environment) of every process carrying a session marker."""
    for name in os.listdir('/proc'):
        if not name.isdigit() or int(name) == os.getpid():
            continue
        try:
            with open(f'/proc/{name}/environ', 'rb') as f:
                raw = f.read()
        except OSError:
            continue
        if MARK.encode() not in raw:
            continue
        env = dict(item.split(b'=', 1) for item in raw.split(b'\0') if b'=' in item)
        yield int(name), env


def _end_pids(pids, grace=2.0):
    pids = [pid for pid in pids if _alive(pid)]
    for sig in (signal.SIGTERM, signal.SIGKILL):
        for pid in pids:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + grace
        while pids and time.monotonic() < deadline:
            pids = [pid for pid in pids if _alive(pid)]
            time.sleep(0.02)
        if not pids:
            return


def end_process(proc, grace=2.0):
    """Ends one child started with Popen: SIGTERM, then SIGKILL."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def sweep_orphans():
    """Ends what an earlier session left behind when its test process was killed.

    Only processes whose marker names an owner process that no longer exists
    are touched.
    """
    orphans = [pid for pid, env in _marked_processes()
               if not _alive(int(env.get(OWNER.encode(), b'0') or 0))]
    _end_pids(orphans)


class Session:
    """One private desktop: X server, session bus, window manager, tray host."""

    # The QT_QPA_PLATFORM programs start with; None leaves it unset.
    PROGRAM_PLATFORM = 'xcb'

    def __init__(self, keep_dir=False, tray_host='trayer'):
        if tray_host not in TRAY_HOSTS:
            raise ValueError(f'unknown tray host {tray_host!r}; one of {TRAY_HOSTS}')
        self.tray_host = tray_host
        self.dir = tempfile.mkdtemp(prefix='scrivel-e2e-')
        self.token = uuid.uuid4().hex
        self.keep_dir = keep_dir
        self.procs = []
        self.x = None
        self._ping_x = None
        self._ping_serial = 0
        self.display_name = None
        self.trayer = None  # the tray host's process, whichever it is
        self._bus = None
        self._owners = []
        self._count = 0
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ('DISPLAY', 'WAYLAND_DISPLAY', 'XAUTHORITY',
                                 'DBUS_SESSION_BUS_ADDRESS', 'AT_SPI_BUS_ADDRESS',
                                 'SESSION_MANAGER', 'QT_QPA_PLATFORM',
                                 'XDG_SESSION_TYPE', 'XDG_CURRENT_DESKTOP')}
        home = self.path('home')
        self.env.update({
            MARK: self.token,
            OWNER: str(os.getpid()),
            'HOME': home,
            'XDG_CONFIG_HOME': os.path.join(home, '.config'),
            'XDG_DATA_HOME': os.path.join(home, '.local', 'share'),
            'XDG_CACHE_HOME': os.path.join(home, '.cache'),
            'XDG_STATE_HOME': os.path.join(home, '.local', 'state'),
            'XDG_RUNTIME_DIR': self.path('runtime'),
        })
        for key in ('XDG_CONFIG_HOME', 'XDG_DATA_HOME', 'XDG_CACHE_HOME', 'XDG_STATE_HOME'):
            os.makedirs(self.env[key], exist_ok=True)
        os.makedirs(self.env['XDG_RUNTIME_DIR'], mode=0o700, exist_ok=True)
        os.chmod(self.env['XDG_RUNTIME_DIR'], 0o700)

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()

    # -- processes ---------------------------------------------------------

    def spawn(self, argv, env=None, name=None, **kwargs):
        """Starts a marked child process; its output goes to a log file."""
        self._count += 1
        name = name or os.path.basename(argv[0])
        with open(self.path(f'{self._count:02d}-{name}.log'), 'wb') as log:
            kwargs.setdefault('stdout', log)
            kwargs.setdefault('stderr', log)
            proc = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL,
                                    **kwargs)
        proc.log_path = log.name
        self.procs.append(proc)
        return proc

    def log_of(self, proc):
        try:
            with open(proc.log_path, 'rb') as f:
                return f.read().decode(errors='replace')
        except OSError:
            return ''

    def end(self, proc):
        end_process(proc)
        if proc in self.procs:
            self.procs.remove(proc)

    def start(self):
        sweep_orphans()
        self._start_x()
        self._start_bus()
        self._start_window_manager()
        self._start_tray_host()

    def stop(self):
        if self._bus is not None:
            self._bus.close_sync(None)
            self._bus = None
        for connection in (self.x, self._ping_x):
            if connection is not None:
                try:
                    connection.close()
                except Exception:  # the server may already be gone
                    pass
        self.x = self._ping_x = None
        for proc in reversed(self.procs):
            end_process(proc)
        self.procs.clear()
        # Daemons started by the session bus are handed to init when it ends.
        _end_pids(pid for pid, env in _marked_processes()
                  if env.get(MARK.encode()) == self.token.encode())
        if not self.keep_dir:
            shutil.rmtree(self.dir, ignore_errors=True)

    def _start_x(self):
        read_fd, write_fd = os.pipe()
        try:
            proc = self.spawn(['Xvfb', '-displayfd', str(write_fd), '-screen', '0',
                               f'{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24', '-nolisten', 'tcp',
                               '-noreset'], pass_fds=(write_fd,))
            os.close(write_fd)
            number = _read_line(read_fd, 10, 'Xvfb')
        finally:
            os.close(read_fd)
        if not number.isdigit():
            raise RuntimeError(f'Xvfb reported no display: {self.log_of(proc)}')
        self.display_name = f':{number}'
        self.env['DISPLAY'] = self.display_name
        self.x = xdisplay.Display(self.display_name)
        self.root = self.x.screen().root

    def _start_bus(self):
        read_fd, write_fd = os.pipe()
        try:
            self.spawn(['dbus-daemon', '--session', '--nofork', '--nopidfile',
                        f'--print-address={write_fd}', f'--address=unix:dir={self.dir}'],
                       pass_fds=(write_fd,))
            os.close(write_fd)
            self.env['DBUS_SESSION_BUS_ADDRESS'] = _read_line(read_fd, 10, 'dbus-daemon')
        finally:
            os.close(read_fd)

    def _start_window_manager(self):
        if self.tray_host == 'xfce4-panel':
            self.spawn(['xfwm4', '--compositor=off'])
        else:
            self.spawn(['openbox', '--sm-disable'])
        # The work area comes last in the window manager's start-up.
        wait_until(lambda: self.root_property('_NET_SUPPORTING_WM_CHECK')
                   and self.root_property('_NET_WORKAREA'), 10, 'the window manager')

    def _start_tray_host(self, attempts=2):
        if self.tray_host == 'xfce4-panel':
            self._start_xfce_panel()
            return
        tray = self.atom('_NET_SYSTEM_TRAY_S0')
        state = {}

        def ready():
            area = self.root_property('_NET_WORKAREA')
            state['owner'] = self.x.get_selection_owner(tray) != X.NONE
            state['strut'] = area is not None and area[3] < SCREEN_HEIGHT
            return state['owner'] and state['strut']

        for attempt in range(attempts):
            self.trayer = self.spawn(['trayer', '--edge', 'bottom', '--align', 'right',
                                      '--widthtype', 'request', '--height', str(TRAY_HEIGHT),
                                      '--SetDockType', 'true', '--SetPartialStrut', 'true',
                                      '--transparent', 'false', '--expand', 'true'])
            try:
                wait_until(ready, 10, 'the tray host')
                return
            except TimeoutError as error:
                failure = (f'{error} (tray selection owned: {state.get("owner")}, '
                           f'work area shrunk: {state.get("strut")}, trayer running: '
                           f'{self.trayer.poll() is None}) {self.log_of(self.trayer)}')
            # Should the window manager not take the panel in (seen when trayer
            # raced openbox's start-up), a second trayer docks.
            self.end(self.trayer)
            wait_until(lambda: self.x.get_selection_owner(tray) == X.NONE, 5,
                       'the tray host to leave')
        raise TimeoutError(failure)

    def _start_xfce_panel(self):
        """Xfce's panel in its default layout, whose systray plugin hosts
        StatusNotifierItems (it owns the watcher's name on the session bus and
        registers itself as the host) and X11 tray icons as well.

        The panel reads its layout through xfconf, whose daemon the session
        bus starts on demand; with a copy of the panel's own default layout in
        the session's configuration folder it starts with that layout, without
        asking anything.
        """
        channels = os.path.join(self.env['XDG_CONFIG_HOME'], 'xfce4', 'xfconf',
                                'xfce-perchannel-xml')
        os.makedirs(channels, exist_ok=True)
        shutil.copyfile(XFCE_PANEL_LAYOUT, os.path.join(channels, 'xfce4-panel.xml'))
        self.trayer = self.spawn(['xfce4-panel', '--disable-wm-check'])

        def ready():
            if self.trayer.poll() is not None:
                raise RuntimeError(f'xfce4-panel ended: {self.log_of(self.trayer)}')
            area = self.root_property('_NET_WORKAREA')
            return (self.status_notifier_host_registered()
                    and area is not None and area[3] < SCREEN_HEIGHT)
        wait_until(ready, 20, 'the panel to host StatusNotifierItems')

    def stop_tray_host(self):
        """Ends the tray host: the desktop has no notification area."""
        self.end(self.trayer)
        wait_until(lambda: self.x.get_selection_owner(self.atom('_NET_SYSTEM_TRAY_S0'))
                   == X.NONE and not self.status_notifier_host_registered(), 5,
                   'the tray host to leave')

    def restart_tray_host(self):
        if self.trayer is None or self.trayer.poll() is not None:
            self._start_tray_host()

    # -- X helpers ---------------------------------------------------------

    def atom(self, name):
        return self.x.intern_atom(name)

    def root_property(self, name):
        prop = self.root.get_full_property(self.atom(name), X.AnyPropertyType)
        return None if prop is None else list(prop.value)

    def _window_property(self, window, name):
        try:
            prop = window.get_full_property(self.atom(name), X.AnyPropertyType)
        except XError:
            return None
        return None if prop is None else prop.value

    def client_windows(self, pid):
        """Top-level client windows managed by the window manager, of one process."""
        found = []
        for xid in self.root_property('_NET_CLIENT_LIST') or []:
            window = self.x.create_resource_object('window', xid)
            pids = self._window_property(window, '_NET_WM_PID')
            if pids is not None and len(pids) and pids[0] == pid:
                found.append(window)
        return found

    def window_title(self, window):
        value = self._window_property(window, '_NET_WM_NAME')
        return None if value is None else bytes(value).decode('utf-8', 'replace')

    def wm_class(self, window):
        try:
            return window.get_wm_class()
        except XError:
            return None

    def _descendants(self, window):
        try:
            children = window.query_tree().children
        except XError:
            return
        for child in children:
            yield child
            yield from self._descendants(child)

    def tray_icon_window(self, wm_class):
        """The docked, mapped icon window of a program inside the tray host's
        tree (an X11 tray icon)."""
        for top in self.root.query_tree().children:
            inside = [top] + list(self._descendants(top))
            pids = [self._window_property(w, '_NET_WM_PID') for w in inside]
            if not any(p is not None and len(p) and p[0] == self.trayer.pid for p in pids):
                continue
            for window in inside:
                if self.wm_class(window) != wm_class:
                    continue
                try:
                    geometry = window.get_geometry()
                    mapped = window.get_attributes().map_state == X.IsViewable
                except XError:
                    continue
                if mapped and geometry.width > 1 and geometry.height > 1:
                    return window
        return None

    def picture_of(self, window):
        """Classifies a tray icon's picture by its dominant reference colour.

        Returns 'normal', 'capture', 'suspended' or None when no reference
        colour covers enough pixels.
        """
        try:
            geometry = window.get_geometry()
            image = window.get_image(0, 0, geometry.width, geometry.height,
                                     X.ZPixmap, 0xFFFFFFFF)
        except XError:
            return None
        data = image.data
        if isinstance(data, str):
            data = data.encode('latin-1')
        return classify_picture((data[i + 2], data[i + 1], data[i])
                                for i in range(0, geometry.width * geometry.height * 4, 4))

    def panel_icon_position(self):
        """The centre of the tray picture shown in a panel along the top edge,
        found by the normal or the capture colour (the grey of the suspended
        picture is too near the panel's own): the rightmost group of such
        pixels, since the default layout puts the tray right of the window
        buttons, which show the program's window icon too."""
        area = self.root_property('_NET_WORKAREA')
        height = area[1] if area else 0
        if height <= 0:
            return None
        image = self.root.get_image(0, 0, SCREEN_WIDTH, height, X.ZPixmap, 0xFFFFFFFF)
        data = image.data
        if isinstance(data, str):
            data = data.encode('latin-1')
        colours = [PICTURE_COLOURS['normal'], PICTURE_COLOURS['capture']]
        found = []
        for y in range(height):
            for x in range(SCREEN_WIDTH):
                i = (y * SCREEN_WIDTH + x) * 4
                b, g, r = data[i], data[i + 1], data[i + 2]
                if any((r - cr) ** 2 + (g - cg) ** 2 + (b - cb) ** 2 < 40 ** 2
                       for cr, cg, cb in colours):
                    found.append((x, y))
        if not found:
            return None
        right = max(x for x, _ in found)
        group = [(x, y) for x, y in found if x > right - height]
        if len(group) < 12:
            return None
        return (sum(x for x, _ in group) // len(group), sum(y for _, y in group) // len(group))

    # -- the session bus ---------------------------------------------------

    def bus(self):
        if self._bus is None:
            self._bus = Gio.DBusConnection.new_for_address_sync(
                self.env['DBUS_SESSION_BUS_ADDRESS'],
                Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        return self._bus

    def bus_property(self, service, path, interface, name):
        """A property of an object on the session bus, or None when there is
        no such object or it does not answer."""
        try:
            reply = self.bus().call_sync(service, path, PROPERTIES, 'Get',
                                         GLib.Variant('(ss)', (interface, name)), None,
                                         Gio.DBusCallFlags.NO_AUTO_START, 2000, None)
        except GLib.Error:
            return None
        return reply.unpack()[0]

    def status_notifier_host_registered(self):
        return bool(self.bus_property(WATCHER, '/StatusNotifierWatcher', WATCHER,
                                      'IsStatusNotifierHostRegistered'))

    def status_notifier_items(self):
        """The items registered with the watcher, as 'service/path'."""
        return list(self.bus_property(WATCHER, '/StatusNotifierWatcher', WATCHER,
                                      'RegisteredStatusNotifierItems') or [])

    def item_property(self, item, name):
        service, _, path = item.partition('/')
        return self.bus_property(service, '/' + path, ITEM, name)

    def ping(self, window, timeout=5.0):
        """Seconds until the program answers a window manager's ping (_NET_WM_PING).

        The program answers on its UI thread, so this measures how soon that
        thread gets to its events. Raises TimeoutError when it does not answer.
        """
        if self._ping_x is None:
            self._ping_x = xdisplay.Display(self.display_name)
            # Qt sends the answer to the root window for StructureNotify.
            self._ping_x.screen().root.change_attributes(event_mask=X.StructureNotifyMask)
        x = self._ping_x
        protocols, ping = x.intern_atom('WM_PROTOCOLS'), x.intern_atom('_NET_WM_PING')
        self._ping_serial += 1
        stamp = self._ping_serial
        target = x.create_resource_object('window', window.id)
        start = time.monotonic()
        target.send_event(event.ClientMessage(window=target, client_type=protocols,
                                              data=(32, [ping, stamp, window.id, 0, 0])),
                          event_mask=0)
        x.flush()
        deadline = start + timeout
        while time.monotonic() < deadline:
            while x.pending_events():
                ev = x.next_event()
                if (ev.type == X.ClientMessage and ev.client_type == protocols
                        and ev.data[1][0] == ping and ev.data[1][1] == stamp):
                    return time.monotonic() - start
            select.select([x.fileno()], [], [], 0.005)
        raise TimeoutError(f'no answer to a ping within {timeout} s')

    def screenshot(self, path):
        subprocess.run(['import', '-window', 'root', path], env=self.env, check=True,
                       stdin=subprocess.DEVNULL, timeout=30)
        return path

    # -- the program -------------------------------------------------------

    def start_program(self, program, plugin_dir=None, config_dir=None, accessible=True):
        """Starts Scrivel in this session, with accessibility on unless told."""
        env = dict(self.env)
        if self.PROGRAM_PLATFORM:
            env['QT_QPA_PLATFORM'] = self.PROGRAM_PLATFORM
        if accessible:
            env.update({'QT_LINUX_ACCESSIBILITY_ALWAYS_ON': '1', 'QT_ACCESSIBILITY': '1'})
        if plugin_dir:
            env['SCRIVEL_PLUGIN_DIR'] = plugin_dir
        if config_dir:
            os.makedirs(config_dir, exist_ok=True)
            env['XDG_CONFIG_HOME'] = config_dir
        return self.spawn([program], env=env, name='scrivel')

    def main_window(self, proc, title, timeout=10):
        def find():
            for window in self.client_windows(proc.pid):
                if self.window_title(window) == title:
                    return window
            if proc.poll() is not None:
                raise RuntimeError(f'the program ended with {proc.returncode}:\n'
                                   f'{self.log_of(proc)}')
            return None
        try:
            return wait_until(find, timeout, f'the window "{title}"')
        except TimeoutError as error:
            shown = [self.window_title(w) for w in self.client_windows(proc.pid)]
            raise TimeoutError(f'{error}; the program shows {shown}') from None

    # -- the clipboard -----------------------------------------------------

    def _clipboard_owner(self):
        return self.x.get_selection_owner(self.atom('CLIPBOARD'))

    def _take_clipboard(self, argv, name, what):
        before = self._clipboard_owner()
        proc = self.spawn(argv, name=name)

        def owned():
            if proc.poll() is not None:
                raise RuntimeError(f'{what} ended with {proc.returncode}: '
                                   f'{self.log_of(proc)}')
            owner = self._clipboard_owner()
            return owner != X.NONE and owner != before
        wait_until(owned, 10, what)
        previous, self._owners = self._owners, [proc]
        for old in previous:  # they lost the selection; end them all the same
            self.end(old)
        return proc

    def _data_file(self, data):
        self._count += 1
        path = self.path(f'clip-{self._count:02d}.dat')
        with open(path, 'wb') as f:
            f.write(data.encode('utf-8') if isinstance(data, str) else data)
        return path

    def copy_text(self, text):
        """Another program (xclip) copies a text; served from a file."""
        return self._take_clipboard(['xclip', '-selection', 'clipboard', '-quiet', '-i',
                                     self._data_file(text)], 'xclip', 'xclip to own the clipboard')

    def copy_picture(self, png):
        """Another program copies a picture and nothing else."""
        return self._take_clipboard(['xclip', '-selection', 'clipboard', '-quiet',
                                     '-t', 'image/png', '-i', self._data_file(png)],
                                    'xclip', 'xclip to own the clipboard')

    def copy_with_password_hint(self, text, hint='secret'):
        """A password manager copies a text marked with the hint."""
        types = ('UTF8_STRING', 'text/plain;charset=utf-8', 'text/plain', 'STRING')
        return self._take_clipboard([PYTHON, OWNER_SCRIPT, '--text-file', self._data_file(text),
                                     *(arg for t in types for arg in ('--type', t)),
                                     '--hint', hint],
                                    'passwordowner', 'the password manager to own the clipboard')

    def copy_scripted(self, *options):
        """The scriptable test owner takes the clipboard (see its --help)."""
        return self._take_clipboard([PYTHON, OWNER_SCRIPT, *options], 'clipboardowner',
                                    'the scripted owner to own the clipboard')

    def hang_clipboard(self):
        """A program takes the clipboard and never answers a request."""
        return self._take_clipboard([PYTHON, OWNER_SCRIPT, '--hang'],
                                    'hungowner', 'the hung owner to own the clipboard')

    def release_clipboard(self):
        """Ends every clipboard owner this session started: nobody owns it."""
        for proc in self._owners:
            self.end(proc)
        self._owners = []
        if self._clipboard_owner() != X.NONE:
            # Somebody else (the program itself) holds it: take it and leave.
            proc = self._take_clipboard(['xclip', '-selection', 'clipboard', '-quiet',
                                         '-i', self._data_file('')], 'xclip',
                                        'xclip to own the clipboard')
            self._owners = []
            self.end(proc)
        wait_until(lambda: self._clipboard_owner() == X.NONE, 5, 'an empty clipboard')

    def read_clipboard(self, timeout=5):
        """The clipboard's text as another program reads it."""
        result = subprocess.run(['xclip', '-selection', 'clipboard', '-o'], env=self.env,
                                stdin=subprocess.DEVNULL, capture_output=True,
                                timeout=timeout)
        return result.stdout.decode('utf-8', 'replace')


def install_signal_teardown(session_getter):
    """Stops the session when the test process is asked to terminate."""
    def handler(signum, _frame):
        session = session_getter()
        if session is not None:
            session.stop()
        os._exit(128 + signum)
    signal.signal(signal.SIGTERM, handler)
    signal.signal(signal.SIGHUP, handler)
