# SPDX-License-Identifier: GPL-3.0-or-later
"""What the checks of an installed tree share: its layout and file readers."""

import configparser
import os
import struct
import subprocess
import xml.etree.ElementTree as ET

APP_ID = 'org.scrivel.Scrivel'
PROGRAM = 'scrivel'
PLUGIN = 'libvandrillo.so'
HELP_PAGES = ('index.html', '1.html', '2.html', '3.html', 'guida.css')
ICON_NAME = 'scrivel'
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


class Layout:
    """Where each installed file lies under a prefix.

    bindir is relative to the prefix; plugin_from_bin and data_from_bin are
    the paths the program itself is built with, relative to its own folder.
    """

    def __init__(self, prefix, bindir, plugin_from_bin, data_from_bin, datadir='share',
                 autostart_dir=os.path.join('etc', 'xdg', 'autostart')):
        self.prefix = prefix
        self.bindir = os.path.join(prefix, bindir)
        self.program = os.path.join(self.bindir, PROGRAM)
        self.plugin = os.path.normpath(os.path.join(self.bindir, plugin_from_bin, PLUGIN))
        self.help = os.path.normpath(os.path.join(self.bindir, data_from_bin, 'guida'))
        share = os.path.join(prefix, datadir)
        self.desktop_entry = os.path.join(share, 'applications', f'{APP_ID}.desktop')
        self.metainfo = os.path.join(share, 'metainfo', f'{APP_ID}.metainfo.xml')
        self.icons = os.path.join(share, 'icons', 'hicolor')
        # Relative to the prefix ("../etc/..." for the prefix /usr).
        self.autostart_entry = os.path.normpath(
            os.path.join(prefix, autostart_dir, f'{APP_ID}.desktop'))

    def icon_png(self, size):
        return os.path.join(self.icons, f'{size}x{size}', 'apps', f'{ICON_NAME}.png')

    def icon_svg(self):
        return os.path.join(self.icons, 'scalable', 'apps', f'{ICON_NAME}.svg')


def files_under(root):
    """Every file below root, as paths relative to it."""
    found = set()
    for folder, _dirs, files in os.walk(root):
        for name in files:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def png_size(path):
    """(width, height) from a PNG file's header; ValueError when it is no PNG."""
    with open(path, 'rb') as f:
        head = f.read(24)
    if len(head) < 24 or head[:8] != b'\x89PNG\r\n\x1a\n' or head[12:16] != b'IHDR':
        raise ValueError(f'{path} is not a PNG picture')
    return struct.unpack('>II', head[16:24])


def read_desktop_entry(path):
    """The [Desktop Entry] group as a dict, keys as written (Name[it] etc.)."""
    parser = configparser.ConfigParser(interpolation=None, delimiters=('=',))
    parser.optionxform = str
    with open(path, encoding='utf-8') as f:
        parser.read_file(f)
    return dict(parser['Desktop Entry'])


def read_metainfo(path):
    return ET.parse(path).getroot()


def needed_libraries(elf):
    """The NEEDED entries of an ELF file's dynamic section."""
    out = subprocess.run(['readelf', '-d', elf], capture_output=True, text=True,
                         check=True).stdout
    return [line.split('[', 1)[1].rstrip(']').strip()
            for line in out.splitlines() if '(NEEDED)' in line]


def run_paths(elf):
    """The RPATH and RUNPATH entries of an ELF file, empty when it has none."""
    out = subprocess.run(['readelf', '-d', elf], capture_output=True, text=True,
                         check=True).stdout
    paths = []
    for line in out.splitlines():
        if '(RPATH)' in line or '(RUNPATH)' in line:
            paths += [p for p in line.split('[', 1)[1].rstrip(']').split(':') if p]
    return paths
