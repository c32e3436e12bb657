# SPDX-License-Identifier: GPL-3.0-or-later
"""The installed tree: every file where the program and the desktop look for it.

Usage: check_install.py --prefix DIR --bindir REL --plugin-from-bin REL
       --data-from-bin REL --version X.Y --build-dir DIR --source-dir DIR
       --autostart-dir REL
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

import installedtree as tree

ARGS = None
LAYOUT = None


class ProgramFilesTest(unittest.TestCase):

    def test_program_is_installed_and_executable(self):
        self.assertTrue(os.path.isfile(LAYOUT.program), LAYOUT.program)
        self.assertTrue(os.access(LAYOUT.program, os.X_OK))

    def test_plugin_and_help_lie_where_the_program_looks(self):
        # The program carries the paths from its own folder; the installation
        # must have put the files there.
        with open(LAYOUT.program, 'rb') as f:
            program = f.read()
        for relative in (ARGS.plugin_from_bin, ARGS.data_from_bin):
            with self.subTest(path=relative):
                # Held as a UTF-16 string literal.
                self.assertTrue(relative.encode('utf-16-le') + b'\0\0' in program,
                                'the program does not look there')
        self.assertTrue(os.path.isfile(LAYOUT.plugin), LAYOUT.plugin)
        with open(LAYOUT.plugin, 'rb') as f:
            self.assertEqual(f.read(4), b'\x7fELF')
        for page in tree.HELP_PAGES:
            with self.subTest(page=page):
                self.assertTrue(os.path.isfile(os.path.join(LAYOUT.help, page)))

    def test_nothing_points_into_the_build_or_source_tree(self):
        with tempfile.TemporaryDirectory() as scratch:
            for elf in (LAYOUT.program, LAYOUT.plugin):
                with self.subTest(file=os.path.basename(elf)):
                    # Library search paths may only be relative to the file itself.
                    for path in tree.run_paths(elf):
                        self.assertTrue(path.startswith('$ORIGIN'), path)
                    # Debugging information may name the sources; what is
                    # loaded at run time must not.
                    stripped = os.path.join(scratch, os.path.basename(elf))
                    subprocess.run(['strip', '-o', stripped, elf], check=True)
                    with open(stripped, 'rb') as f:
                        data = f.read()
                    for folder in (ARGS.build_dir, ARGS.source_dir):
                        self.assertFalse(os.path.realpath(folder).encode() in data,
                                         f'{elf} names {folder}')


class DesktopFilesTest(unittest.TestCase):

    def test_desktop_entry_starts_the_installed_program_with_its_icon(self):
        entry = tree.read_desktop_entry(LAYOUT.desktop_entry)
        self.assertEqual(entry['Exec'].split()[0], tree.PROGRAM)
        self.assertTrue(os.access(os.path.join(LAYOUT.bindir, entry['Exec'].split()[0]),
                                  os.X_OK), 'Exec names no installed program')
        self.assertEqual(entry['Icon'], tree.ICON_NAME)
        self.assertIn('Utility', entry['Categories'].split(';'))
        for key in ('Name[it]', 'Comment[it]', 'Comment'):
            with self.subTest(key=key):
                self.assertTrue(entry.get(key, '').strip(), f'{key} is missing')

    def test_autostart_entry_starts_the_program_as_the_menu_entry_does(self):
        # Started at login with no arguments: a second start by hand then
        # reaches the running one.
        autostart = tree.read_desktop_entry(LAYOUT.autostart_entry)
        menu = tree.read_desktop_entry(LAYOUT.desktop_entry)
        self.assertEqual(autostart['Exec'], tree.PROGRAM)
        for key in ('Type', 'Icon', 'TryExec', 'StartupWMClass'):
            with self.subTest(key=key):
                self.assertEqual(autostart.get(key), menu.get(key))
        # Entries that are hidden or turned off would never start; desktops
        # also leave entries marked NoDisplay out of their startup settings,
        # where users turn autostart off.
        self.assertNotIn('Hidden', autostart)
        self.assertNotIn('NoDisplay', autostart)
        self.assertEqual(autostart.get('X-GNOME-Autostart-enabled', 'true'), 'true')

    def test_every_icon_size_is_installed_at_its_size(self):
        for size in tree.ICON_SIZES:
            with self.subTest(size=size):
                self.assertEqual(tree.png_size(LAYOUT.icon_png(size)), (size, size))
        root = ET.parse(LAYOUT.icon_svg()).getroot()
        self.assertEqual(root.tag, '{http://www.w3.org/2000/svg}svg')

    def test_metainfo_names_the_desktop_entry_the_program_and_the_release(self):
        root = tree.read_metainfo(LAYOUT.metainfo)
        app_id = root.findtext('id')
        self.assertEqual(app_id, tree.APP_ID)
        self.assertEqual(root.findtext("launchable[@type='desktop-id']"),
                         os.path.basename(LAYOUT.desktop_entry))
        binary = root.findtext('provides/binary')
        self.assertTrue(os.access(os.path.join(LAYOUT.bindir, binary), os.X_OK),
                        f'provides names {binary}, which is not installed')
        versions = [r.get('version') for r in root.iter('release')]
        self.assertEqual(versions[0], ARGS.version, 'the newest release is not this one')
        self.assertEqual(root.findtext('project_license'), 'GPL-3.0-or-later')


def main():
    global ARGS, LAYOUT
    parser = argparse.ArgumentParser()
    for name in ('--prefix', '--bindir', '--plugin-from-bin', '--data-from-bin',
                 '--version', '--build-dir', '--source-dir', '--autostart-dir'):
        parser.add_argument(name, required=True)
    ARGS, rest = parser.parse_known_args()
    if not os.path.isdir(ARGS.prefix):
        print(f'nothing is installed in {ARGS.prefix}', file=sys.stderr)
        return 1
    LAYOUT = tree.Layout(ARGS.prefix, ARGS.bindir, ARGS.plugin_from_bin, ARGS.data_from_bin,
                         autostart_dir=ARGS.autostart_dir)
    if not shutil.which('readelf') or not shutil.which('strip'):
        print('readelf and strip (binutils) are needed', file=sys.stderr)
        return 1
    program = unittest.main(argv=[sys.argv[0]] + rest, verbosity=2, exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == '__main__':
    sys.exit(main())
