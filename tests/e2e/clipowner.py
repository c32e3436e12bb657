# SPDX-License-Identifier: GPL-3.0-or-later
"""A small clipboard owner for the end-to-end tests.

--hang                 take CLIPBOARD and never answer a request
--text-file F          offer the file's bytes as UTF-8 text
--password-hint V      also offer x-kde-passwordManagerHint with value V

Prints "ready" once it owns the clipboard and exits when it loses it.
"""

import argparse
import sys

from Xlib import X, Xatom, display
from Xlib.protocol import event


def take_clipboard(d, window, clipboard):
    # Selection ownership needs a real server time: get one from a property change.
    window.change_property(Xatom.WM_NAME, Xatom.STRING, 8, b'clipowner')
    while True:
        ev = d.next_event()
        if ev.type == X.PropertyNotify:
            break
    window.set_selection_owner(clipboard, ev.time)
    d.sync()
    return d.get_selection_owner(clipboard) == window


def answer(d, request, offers, targets_atom):
    prop = request.property if request.property != X.NONE else request.target
    if request.target == targets_atom:
        request.requestor.change_property(prop, Xatom.ATOM, 32,
                                          [targets_atom] + list(offers))
    elif request.target in offers:
        type_atom, data = offers[request.target]
        request.requestor.change_property(prop, type_atom, 8, data)
    else:
        prop = X.NONE
    request.requestor.send_event(event.SelectionNotify(
        time=request.time, requestor=request.requestor, selection=request.selection,
        target=request.target, property=prop))
    d.flush()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--hang', action='store_true')
    parser.add_argument('--text-file')
    parser.add_argument('--password-hint')
    args = parser.parse_args()

    d = display.Display()
    window = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent,
                                           event_mask=X.PropertyChangeMask)
    clipboard = d.intern_atom('CLIPBOARD')
    targets = d.intern_atom('TARGETS')
    utf8 = d.intern_atom('UTF8_STRING')

    offers = {}
    if args.text_file:
        with open(args.text_file, 'rb') as f:
            text = f.read()
        for name in ('UTF8_STRING', 'text/plain;charset=utf-8', 'text/plain', 'STRING'):
            offers[d.intern_atom(name)] = (utf8, text)
    if args.password_hint is not None:
        hint = d.intern_atom('x-kde-passwordManagerHint')
        offers[hint] = (hint, args.password_hint.encode())

    if not take_clipboard(d, window, clipboard):
        print('could not take the clipboard', file=sys.stderr)
        return 1
    print('ready', flush=True)

    while True:
        ev = d.next_event()
        if ev.type == X.SelectionClear:
            return 0
        if ev.type == X.SelectionRequest and not args.hang:
            answer(d, ev, offers, targets)


if __name__ == '__main__':
    sys.exit(main())
