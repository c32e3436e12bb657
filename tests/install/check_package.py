# SPDX-License-Identifier: GPL-3.0-or-later
"""The Debian package built by CPack: its name, what it holds, what it needs.

Usage: check_package.py --build-dir DIR --out DIR --version X.Y --installed DIR
(--installed: a `cmake --install` of the same build, to compare with).
"""

import argparse
import functools
import glob
import os
import shutil
import subprocess
import sys
import unittest

import installedtree as tree

ARGS = None
PACKAGE = None  # path of the .deb, built once for all tests
ROOT = None     # its files, unpacked


def run(argv):
    return subprocess.run(argv, capture_output=True, text=True, check=True,
                          stdin=subprocess.DEVNULL).stdout


def field(name):
    return run(['dpkg-deb', '--field', PACKAGE, name]).strip()


def depends_names():
    """Package names in Depends, alternatives included, versions left out."""
    names = set()
    for clause in field('Depends').split(','):
        for alternative in clause.split('|'):
            names.add(alternative.split('(')[0].strip().split(':')[0])
    return names


@functools.lru_cache(maxsize=None)
def linker_cache():
    return run(['ldconfig', '-p']).splitlines()


def library_path(soname):
    """Where the dynamic linker finds soname on this machine, or None."""
    for line in linker_cache():
        parts = line.strip().split(' => ')
        if len(parts) == 2 and parts[0].split(' ')[0] == soname and 'x86-64' in parts[0]:
            return parts[1]
    return None


@functools.lru_cache(maxsize=None)
def owning_package(path):
    """The Debian package that ships path (also across the /usr merge)."""
    candidates = [path, os.path.realpath(path)]
    for p in list(candidates):
        candidates.append(p[4:] if p.startswith('/usr/') else '/usr' + p)
    for candidate in candidates:
        result = subprocess.run(['dpkg', '-S', candidate], capture_output=True, text=True)
        if result.returncode == 0:
            return result.stdout.split(':', 1)[0].strip()
    return None


class PackageTest(unittest.TestCase):

    def test_name_version_and_architecture(self):
        arch = run(['dpkg', '--print-architecture']).strip()
        self.assertEqual(os.path.basename(PACKAGE), f'scrivel_{ARGS.version}_{arch}.deb')
        self.assertEqual(field('Package'), 'scrivel')
        self.assertEqual(field('Version'), ARGS.version)
        self.assertEqual(field('Architecture'), arch)

    def test_holds_exactly_what_an_installation_holds_under_usr(self):
        packaged = tree.files_under(os.path.join(ROOT, 'usr'))
        self.assertEqual(packaged, tree.files_under(ARGS.installed))
        self.assertEqual(os.listdir(ROOT), ['usr'])

    def test_depends_on_the_package_of_every_linked_library(self):
        depends = depends_names()
        self.assertIn('xdg-utils', depends, 'the help pages open with xdg-open')
        elves = [os.path.join(ROOT, 'usr', 'bin', tree.PROGRAM)]
        elves += glob.glob(os.path.join(ROOT, 'usr', 'lib', '**', tree.PLUGIN), recursive=True)
        self.assertEqual(len(elves), 2, elves)
        for elf in elves:
            for soname in tree.needed_libraries(elf):
                with self.subTest(file=os.path.basename(elf), library=soname):
                    path = library_path(soname)
                    self.assertIsNotNone(path, f'{soname} is not installed here')
                    package = owning_package(path)
                    self.assertIsNotNone(package, f'no package ships {path}')
                    self.assertIn(package, depends)


def build_package():
    global PACKAGE, ROOT
    shutil.rmtree(ARGS.out, ignore_errors=True)
    os.makedirs(ARGS.out)
    config = os.path.join(ARGS.build_dir, 'CPackConfig.cmake')
    result = subprocess.run([ARGS.cpack, '-G', 'DEB', '--config', config, '-B', ARGS.out],
                            capture_output=True, text=True, stdin=subprocess.DEVNULL)
    if result.returncode != 0:
        print(result.stdout, result.stderr, file=sys.stderr)
        return False
    packages = glob.glob(os.path.join(ARGS.out, '*.deb'))
    if len(packages) != 1:
        print(f'cpack made {packages}', file=sys.stderr)
        return False
    PACKAGE = packages[0]
    ROOT = os.path.join(ARGS.out, 'root')
    run(['dpkg-deb', '--extract', PACKAGE, ROOT])
    return True


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for name in ('--build-dir', '--out', '--version', '--installed'):
        parser.add_argument(name, required=True)
    parser.add_argument('--cpack', default='cpack')
    ARGS, rest = parser.parse_known_args()
    for tool in ('dpkg-deb', 'dpkg-shlibdeps', 'readelf', 'ldconfig'):
        if not shutil.which(tool):
            print(f'{tool} is needed to build and check the package', file=sys.stderr)
            return 1
    if not build_package():
        return 1
    program = unittest.main(argv=[sys.argv[0]] + rest, verbosity=2, exit=False)
    if program.result.wasSuccessful():
        shutil.rmtree(ARGS.out, ignore_errors=True)
        return 0
    return 1


if __name__ == '__main__':
    sys.exit(main())
