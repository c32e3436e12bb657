# SPDX-License-Identifier: GPL-3.0-or-later
"""Reading Scrivel's window through the accessibility bus (AT-SPI).

libatspi connects once per process, to the session bus in the environment
at its first use, so a test process talks to one desktop session only:
call connect() after the session has started.
"""

import os
import time

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi, GLib  # noqa: E402

from desktop import wait_until  # noqa: E402

# A query that takes longer than this counts as no answer at all.
QUERY_TIMEOUT_MS = 2000


class NoAnswer(Exception):
    """The program did not answer an accessibility query in time."""


def connect(session):
    os.environ['DISPLAY'] = session.display_name
    os.environ['DBUS_SESSION_BUS_ADDRESS'] = session.env['DBUS_SESSION_BUS_ADDRESS']
    os.environ.pop('AT_SPI_BUS_ADDRESS', None)
    Atspi.init()
    Atspi.set_timeout(QUERY_TIMEOUT_MS, QUERY_TIMEOUT_MS)


def _call(fn, *args):
    try:
        return fn(*args)
    except GLib.Error as error:
        raise NoAnswer(str(error)) from error


def timed(fn, *args):
    """Runs one query; returns (result, seconds)."""
    start = time.monotonic()
    result = _call(fn, *args)
    return result, time.monotonic() - start


def application(pid, timeout=15):
    """The accessible application of the process pid, never cached."""
    def find():
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    app.set_cache_mask(Atspi.Cache.NONE)
                    return app
            except GLib.Error:
                continue
        return None
    return wait_until(find, timeout, f'process {pid} on the accessibility bus', 0.05)


def children(node):
    return [_call(node.get_child_at_index, i) for i in range(_call(node.get_child_count))]


def find(node, name=None, roles=(), depth=12):
    """Depth-first search for a descendant by accessible name and/or role."""
    for child in children(node):
        if child is None:
            continue
        if ((name is None or _call(child.get_name) == name)
                and (not roles or _call(child.get_role) in roles)):
            return child
        if depth > 0:
            found = find(child, name, roles, depth - 1)
            if found is not None:
                return found
    return None


LIST_ROLES = (Atspi.Role.LIST, Atspi.Role.LIST_BOX, Atspi.Role.TABLE, Atspi.Role.TREE)


def main_window(app, title, timeout=10):
    return wait_until(lambda: find(app, title, (Atspi.Role.FRAME, Atspi.Role.WINDOW), 0),
                      timeout, f'the accessible window "{title}"', 0.05)


def history_list(window, name='Cronologia degli Scrivel', timeout=10):
    """The history list: by its accessible name, else the window's only list."""
    def lookup():
        return find(window, name, LIST_ROLES) or find(window, None, LIST_ROLES)
    return wait_until(lookup, timeout, f'the list "{name}"', 0.05)


def row_names(lst):
    return [_call(row.get_name) for row in children(lst)
            if row is not None and _call(row.get_role) != Atspi.Role.TABLE_COLUMN_HEADER]


def row_count(lst):
    return _call(lst.get_child_count)


def is_enabled(node):
    states = _call(node.get_state_set)
    if states.contains(Atspi.StateType.DEFUNCT):  # how libatspi reports a timeout here
        raise NoAnswer('no state set: the object is gone or did not answer')
    return states.contains(Atspi.StateType.ENABLED) and states.contains(
        Atspi.StateType.SENSITIVE)
