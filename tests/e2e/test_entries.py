# SPDX-License-Identifier: GPL-3.0-or-later
"""Working with entries, end to end: the real program in a private desktop
session, driven with the mouse and the keyboard (xdotool), read back through
the accessibility bus, the clipboard (xclip) and the tray copy menu.

Usage: /usr/bin/python3 test_entries.py --program PATH [--plugin-dir DIR] [unittest args]
Exits with 77 (skipped) only when the program has not been built.
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import a11y  # noqa: E402
import e2erun  # noqa: E402
import test_capture  # noqa: E402
from desktop import wait_until  # noqa: E402
from gi.repository import Atspi  # noqa: E402
from test_tray import ShownMenus  # noqa: E402

TITLE = test_capture.TITLE
TICK, SLACK = test_capture.TICK, test_capture.SLACK

DELETE_QUESTION = ('Affinché si possa eliminare questo elemento della lista occorre svuotare '
                   'gli Scrivel di sistema.\n\nParte iniziale del contenuto degli Scrivel di '
                   'sistema: \n{}\n\nContinuare?')


class EntriesTestCase(test_capture.ProgramTestCase):
    """A fresh program per test, its history filled by another program's copies."""

    def setUp(self):
        super().setUp()
        self.window = self.session.main_window(self.proc, TITLE)
        self.app = a11y.application(self.proc.pid)

    def capture(self, *texts):
        for text in texts:
            self.session.copy_text(text)
            wait_until(lambda: text in self.rows(), TICK + SLACK + 2, f'{text!r} captured')

    def xdotool(self, *args):
        subprocess.run(['xdotool', *args], env=self.session.env, check=True, timeout=10,
                       stdin=subprocess.DEVNULL)

    def keys(self, window, *keys):
        self.xdotool('windowactivate', '--sync', str(window.id))
        self.xdotool('key', '--clearmodifiers', *keys)

    def row(self, name):
        for row in a11y.children(self.list):
            if row is not None and a11y._call(row.get_name) == name:
                return row
        self.fail(f'no row {name!r} in {self.rows()}')

    def click_row(self, name, *, x=None, repeat=1):
        """Clicks a row (at its middle, or x pixels from its left edge)."""
        box = a11y._call(Atspi.Component.get_extents, self.row(name), Atspi.CoordType.SCREEN)
        left = box.x + (box.width // 2 if x is None else x)
        self.xdotool('windowactivate', '--sync', str(self.window.id))
        self.xdotool('mousemove', str(left), str(box.y + box.height // 2),
                     'click', '--repeat', str(repeat), '--delay', '80', '1')

    def checked(self, name):
        return a11y._call(self.row(name).get_state_set).contains(Atspi.StateType.CHECKED)

    def shown_alert(self):
        try:
            return a11y.find(self.app, roles=(Atspi.Role.ALERT,), depth=2)
        except a11y.NoAnswer:  # a box that was closing meanwhile
            return None

    def alert(self, timeout=10):
        return wait_until(self.shown_alert, timeout, 'a message box', 0.05)

    def alert_texts(self, alert):
        found = []
        pending = [alert]
        while pending:
            for child in a11y.children(pending.pop()):
                if child is None:
                    continue
                if a11y._call(child.get_role) == Atspi.Role.LABEL and a11y._call(child.get_name):
                    found.append(a11y._call(child.get_name))
                pending.append(child)
        return found

    def answer(self, alert, caption):
        button = a11y.find(alert, caption, (Atspi.Role.PUSH_BUTTON,))
        self.assertIsNotNone(button, f'no button "{caption}"')
        a11y._call(Atspi.Action.do_action, button, 0)
        wait_until(lambda: self.shown_alert() is None, 5, 'the message box to close', 0.05)

    def clipboard(self):
        return self.session.read_clipboard()


class EntriesTest(EntriesTestCase):

    def test_double_click_puts_the_entry_text_on_the_clipboard(self):
        self.capture('Alfa', 'Beta')
        self.assertEqual(self.clipboard(), 'Beta')
        self.click_row('Alfa', repeat=2)
        wait_until(lambda: self.clipboard() == 'Alfa', 5, 'Alfa on the clipboard')
        # The text is held already: the next polls add nothing.
        self.assert_rows_stay(['Alfa', 'Beta'])

    def test_ctrl_d_on_the_clipboard_entry_asks_first(self):
        self.capture('Uno', 'Due')
        self.click_row('Due')
        self.keys(self.window, 'ctrl+d')
        alert = self.alert()
        self.assertIn(DELETE_QUESTION.format('Due'), self.alert_texts(alert))
        self.answer(alert, 'No')
        self.assert_rows_stay(['Uno', 'Due'], ticks=1)
        self.assertEqual(self.clipboard(), 'Due')

        self.keys(self.window, 'ctrl+d')
        self.answer(self.alert(), 'Sì')
        self.wait_rows(['Uno'])
        self.assertEqual(self.clipboard(), '')
        # The clipboard was emptied: the next polls do not bring the entry back.
        self.assert_rows_stay(['Uno'])

    def test_merging_two_checked_entries(self):
        self.capture('Primo', 'Secondo', 'Terzo')
        for name in ('Terzo', 'Primo'):  # the indicator lies at the row's left
            self.click_row(name, x=10)
            wait_until(lambda: self.checked(name), 3, f'{name} checked')
        # Opening "&Lista" enables its items for the check marks.
        self.keys(self.window, 'alt+l')
        fondi = wait_until(lambda: a11y.find(self.app, 'Fondi in un unico elemento',
                                             (Atspi.Role.MENU_ITEM,)), 5, 'the merge item')
        wait_until(lambda: a11y.is_enabled(fondi), 3, 'the merge item enabled')
        a11y._call(Atspi.Action.do_action, fondi, 0)
        self.xdotool('key', 'Escape')
        wait_until(lambda: self.clipboard() == 'PrimoTerzo', 5, 'the merged text')
        self.wait_rows(['Primo', 'Secondo', 'Terzo', 'PrimoTerzo'])
        self.assertTrue(self.checked('Primo') and self.checked('Terzo'))

    def test_editor_stores_a_new_name_shown_by_the_tray_menu(self):
        self.capture('Vecchio nome')
        self.click_row('Vecchio nome')
        self.keys(self.window, 'Return')
        editor = self.session.main_window(self.proc, 'Contenuto della selezione')
        # The name is selected whole: typing replaces it; Enter closes.
        self.keys(editor, *'Nuovo', 'space', *'nome', 'Return')
        question = self.alert()
        self.assertIn('Memorizzare le modifiche?', self.alert_texts(question))
        self.answer(question, 'Sì')
        self.wait_rows(['Nuovo nome'])

        menus = ShownMenus()
        self.addCleanup(menus.close)
        self.xdotool('mousemove', '--window', str(self.icon().id), '11', '11', 'click', '1')
        menu = menus.wait()
        items = [a11y._call(item.get_name) for item in a11y.children(menu)
                 if a11y._call(item.get_role) == Atspi.Role.MENU_ITEM
                 and a11y._call(item.get_state_set).contains(Atspi.StateType.VISIBLE)]
        self.assertIn('Nuovo nome', items)
        self.assertNotIn('Vecchio nome', items)
        self.xdotool('key', 'Escape')
        # The content is unchanged: copying it back gives the old text.
        time.sleep(0.1)
        self.click_row('Nuovo nome', repeat=2)
        wait_until(lambda: self.clipboard() == 'Vecchio nome', 5, 'the content on the clipboard')


# One private desktop session for the module, shared with the capture tests.
setUpModule, tearDownModule = test_capture.setUpModule, test_capture.tearDownModule


if __name__ == '__main__':
    sys.exit(e2erun.run_tests(test_capture))
