#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A scriptable owner of the CLIPBOARD selection, for tests and benchmarks.

It takes the selection, prints "ready" once it holds it, and answers requests
as its options say: well-behaved, refusing, never answering, or stalling in
the middle of an incremental (INCR) transfer. It exits when another program
takes the selection, or on SIGTERM.
"""

import argparse
import sys

from Xlib import X, Xatom, display
from Xlib.protocol import event


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--type", action="append", dest="types",
                   help="a text type to offer (repeatable; default UTF8_STRING)")
    p.add_argument("--text", default="", help="the text to offer")
    p.add_argument("--text-file", help="offer the bytes of this file instead")
    p.add_argument("--encoding", default="utf-8", help="how --text becomes bytes")
    p.add_argument("--hint", help="also offer x-kde-passwordManagerHint with this value")
    p.add_argument("--hang", action="store_true", help="never answer any request")
    p.add_argument("--refuse", action="store_true", help="refuse every request")
    p.add_argument("--no-targets", action="store_true", help="refuse TARGETS only")
    p.add_argument("--incr", type=int, default=0, help="send text in INCR chunks of this size")
    p.add_argument("--incr-hint", type=int, help="size announced by INCR (default: the real one)")
    p.add_argument("--stall-after", type=int, default=-1,
                   help="stop sending INCR chunks after this many")
    p.add_argument("--burst", type=int, default=0,
                   help="offer '<text> 1' to '<text> N', each replaced by the next (the "
                        "selection taken again) as soon as a reader has read it")
    return p.parse_args()


class Owner:
    def __init__(self, args):
        self.args = args
        self.d = display.Display()
        # A reader that gave up on a transfer destroys its window; writing to
        # it then fails, which is expected here and not worth reporting.
        self.d.set_error_handler(lambda *args: None)
        self.atom = self.d.intern_atom
        self.window = self.d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        self.clipboard = self.atom("CLIPBOARD")
        self.targets = self.atom("TARGETS")
        self.incr = self.atom("INCR")
        self.hint_type = self.atom("x-kde-passwordManagerHint")
        self.text_types = [self.atom(t) for t in (args.types or ["UTF8_STRING"])]
        self.burst_index = 1
        self.burst_reads = set()
        if args.text_file:
            with open(args.text_file, "rb") as f:
                self.data = f.read()
        elif args.burst:
            self.data = f"{args.text} 1".encode(args.encoding)
        else:
            self.data = args.text.encode(args.encoding)
        # (requestor id, property) -> [window, type, remaining bytes, chunks sent]
        self.transfers = {}

    def take(self):
        self.window.set_selection_owner(self.clipboard, X.CurrentTime)
        self.d.sync()
        if self.d.get_selection_owner(self.clipboard) != self.window:
            sys.exit("could not take CLIPBOARD")
        print("ready", flush=True)

    def notify(self, req, prop):
        ev = event.SelectionNotify(time=req.time, requestor=req.requestor,
                                   selection=req.selection, target=req.target, property=prop)
        req.requestor.send_event(ev, event_mask=0)
        self.d.flush()

    def answer(self, req):
        a = self.args
        if a.hang:
            return
        prop = req.property or req.target
        target = req.target
        if a.refuse or (target == self.targets and a.no_targets):
            self.notify(req, X.NONE)
        elif target == self.targets:
            offered = [self.targets] + self.text_types
            if a.hint is not None:
                offered.append(self.hint_type)
            req.requestor.change_property(prop, Xatom.ATOM, 32, offered)
            self.notify(req, prop)
        elif target == self.hint_type and a.hint is not None:
            req.requestor.change_property(prop, target, 8, a.hint.encode())
            self.notify(req, prop)
        elif target in self.text_types:
            if a.incr > 0:
                self.start_incr(req, prop)
            else:
                req.requestor.change_property(prop, target, 8, self.data)
            if self.burst_index < a.burst and a.incr == 0:
                # The reader deletes the property once it has read it.
                req.requestor.change_attributes(event_mask=X.PropertyChangeMask)
                self.burst_reads.add((req.requestor.id, prop))
            self.notify(req, prop)
        else:
            self.notify(req, X.NONE)

    def start_incr(self, req, prop):
        hint = self.args.incr_hint if self.args.incr_hint is not None else len(self.data)
        req.requestor.change_attributes(event_mask=X.PropertyChangeMask)
        req.requestor.change_property(prop, self.incr, 32, [hint])
        self.transfers[(req.requestor.id, prop)] = [req.requestor, req.target, self.data, 0]

    def next_in_burst(self, ev):
        key = (ev.window.id, ev.atom)
        if key not in self.burst_reads or ev.state != X.PropertyDelete:
            return
        self.burst_reads.clear()
        self.burst_index += 1
        self.data = f"{self.args.text} {self.burst_index}".encode(self.args.encoding)
        self.window.set_selection_owner(self.clipboard, X.CurrentTime)
        self.d.flush()

    def next_chunk(self, ev):
        key = (ev.window.id, ev.atom)
        transfer = self.transfers.get(key)
        if transfer is None or ev.state != X.PropertyDelete:
            return
        window, target, remaining, sent = transfer
        if sent == self.args.stall_after:
            return
        chunk = remaining[:self.args.incr]
        window.change_property(ev.atom, target, 8, chunk)
        self.d.flush()
        if not chunk:
            del self.transfers[key]
        else:
            transfer[2] = remaining[len(chunk):]
            transfer[3] = sent + 1

    def run(self):
        self.take()
        while True:
            ev = self.d.next_event()
            if ev.type == X.SelectionRequest:
                self.answer(ev)
            elif ev.type == X.PropertyNotify:
                self.next_in_burst(ev)
                self.next_chunk(ev)
            elif ev.type == X.SelectionClear:
                return


if __name__ == "__main__":
    Owner(parse_args()).run()
