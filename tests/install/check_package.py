# SPDX-License-Identifier: GPL-3.0-or-later
"""The Debian package, built as the README says (a build folder of its own for
the prefix /usr, then `cpack -G DEB`): its name, what it holds, what it needs,
and what lintian says of it.

Usage: check_package.py --source-dir DIR --build-dir DIR --package-build DIR
       --out DIR --version X.Y --installed DIR --plugin-dir REL
       --autostart-dir REL [--cmake CMAKE] [--cpack CPACK] [--generator G]
       [--launcher L] [--cxx CXX]
(--build-dir: the build under test, installed into --installed with the
plugin in --plugin-dir and the autostart entry in --autostart-dir, both
relative to it; --package-build is kept, so a second run builds only what
changed.)
"""

import argparse
import functools
import glob
import gzip
import os
import re
import shutil
import subprocess
import sys
import unittest

import installedtree as tree

ARGS = None
PACKAGE = None  # path of the .deb, built once for all tests
ROOT = None     # its files, unpacked
CONTROL = None  # its control archive, unpacked
AUTOSTART = os.path.join('etc', 'xdg', 'autostart', f'{tree.APP_ID}.desktop')


def run(argv, **kwargs):
    return subprocess.run(argv, capture_output=True, text=True, check=True,
                          stdin=subprocess.DEVNULL, **kwargs).stdout


def field(name):
    return run(['dpkg-deb', '--field', PACKAGE, name]).strip()


def read_gzip(relative):
    with gzip.open(os.path.join(ROOT, relative), 'rt', encoding='utf-8') as f:
        return f.read()


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


def packaged_plugin_dir():
    """The plugin's folder in the package, relative to its root."""
    found = glob.glob(os.path.join(ROOT, 'usr', 'lib', '**', tree.PLUGIN), recursive=True)
    return os.path.relpath(os.path.dirname(found[0]), ROOT) if len(found) == 1 else None


class PackageTest(unittest.TestCase):

    def test_name_version_and_architecture(self):
        arch = run(['dpkg', '--print-architecture']).strip()
        self.assertEqual(os.path.basename(PACKAGE), f'scrivel_{ARGS.version}_{arch}.deb')
        self.assertEqual(field('Package'), 'scrivel')
        self.assertEqual(field('Version'), ARGS.version)
        self.assertEqual(field('Architecture'), arch)

    def test_holds_what_an_installation_holds_in_debian_places(self):
        # The same files as a `cmake --install` of the build under test, with
        # its prefix as /usr, its plugin folder as the package's and its
        # autostart folder as /etc/xdg/autostart.
        plugin_dir = packaged_plugin_dir()
        self.assertIsNotNone(plugin_dir, 'the plugin is not in one place under /usr/lib')
        self.assertRegex(plugin_dir, r'^usr/lib/[a-z0-9_]+-linux-gnu[a-z0-9_]*/scrivel$',
                         'the private plugin folder is not in the multiarch library folder')
        self.assertEqual(sorted(os.listdir(ROOT)), ['etc', 'usr'])

        def named_by_role(paths, plugin, autostart):
            roles = {plugin: '<plugin>', autostart: '<autostart>'}
            result = set()
            for path in paths:
                folder = os.path.dirname(path)
                result.add(os.path.join(roles.get(folder, folder), os.path.basename(path)))
            return result

        packaged = {p[len('usr/'):] if p.startswith('usr/') else '/' + p
                    for p in tree.files_under(ROOT)}
        packaged = named_by_role(packaged, plugin_dir[len('usr/'):],
                                 '/' + os.path.dirname(AUTOSTART))
        installed = tree.files_under(ARGS.installed)
        autostart = os.path.normpath(ARGS.autostart_dir)
        if autostart.startswith('..'):  # beside the prefix, as /etc is beside /usr
            folder = os.path.join(ARGS.installed, autostart)
            installed |= {os.path.join(autostart, name) for name in os.listdir(folder)}
        installed = named_by_role(installed, os.path.normpath(ARGS.plugin_dir), autostart)
        self.assertEqual(packaged, installed)

    def test_a_build_for_another_prefix_is_not_packaged(self):
        # Its files would land in /usr/etc and /usr/lib/scrivel, with ldconfig
        # triggers for the plugin.
        cache = os.path.join(ARGS.build_dir, 'CMakeCache.txt')
        with open(cache) as f:
            prefix = re.search(r'^CMAKE_INSTALL_PREFIX:PATH=(.*)$', f.read(), re.MULTILINE)
        if prefix and prefix.group(1) == '/usr':
            self.skipTest('the build under test is for /usr')
        out = os.path.join(ARGS.out, 'refused')
        result = subprocess.run([ARGS.cpack, '-G', 'DEB', '--config',
                                 os.path.join(ARGS.build_dir, 'CPackConfig.cmake'), '-B', out],
                                capture_output=True, text=True, stdin=subprocess.DEVNULL)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn('-DCMAKE_INSTALL_PREFIX=/usr', result.stdout + result.stderr)
        self.assertEqual(glob.glob(os.path.join(out, '*.deb')), [])

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

    def test_lintian_reports_no_error_and_no_warning(self):
        result = subprocess.run(['lintian', '--fail-on', 'error,warning', '--display-level',
                                 '>=warning', '--tag-display-limit', '0', PACKAGE],
                                capture_output=True, text=True, stdin=subprocess.DEVNULL)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        tags = [line for line in result.stdout.splitlines() if re.match(r'[EW]: ', line)]
        self.assertEqual(tags, [])

    def test_autostart_entry_is_valid_and_kept_as_a_configuration_file(self):
        # A user's change to a file in /etc survives upgrades only as a conffile.
        with open(os.path.join(CONTROL, 'conffiles')) as f:
            self.assertEqual(f.read().split(), ['/' + AUTOSTART])
        run(['desktop-file-validate', os.path.join(ROOT, AUTOSTART)])
        self.assertEqual(tree.read_desktop_entry(os.path.join(ROOT, AUTOSTART))['Exec'],
                         tree.PROGRAM)
        # The plugin lies in a private folder: no maintainer script or trigger
        # runs ldconfig for it.
        self.assertEqual(sorted(os.listdir(CONTROL)), ['conffiles', 'control', 'md5sums'])

    def test_changelog_and_manual_page_are_this_version_and_name_packaged_files(self):
        changelog = read_gzip('usr/share/doc/scrivel/changelog.gz')
        self.assertTrue(changelog.startswith(f'scrivel ({ARGS.version}) '), changelog[:80])
        page = read_gzip('usr/share/man/man1/scrivel.1.gz')
        self.assertIn(f'"Scrivel {ARGS.version}"', page.split('\n.TH ', 1)[1].splitlines()[0])
        # Every file or folder the page names in /etc or /usr is in the package.
        named = re.findall(r'^\.I (/(?:etc|usr)/\S+)$', page, re.MULTILINE)
        self.assertGreaterEqual(len(named), 3, 'the page names no installed file')
        for path in named:
            with self.subTest(path=path):
                self.assertTrue(os.path.exists(os.path.join(ROOT, path.lstrip('/'))))


def build_package():
    """Configures and builds --package-build for /usr, then packages it."""
    global PACKAGE, ROOT, CONTROL
    configure = [ARGS.cmake, '-S', ARGS.source_dir, '-B', ARGS.package_build,
                 '-G', ARGS.generator, '-DCMAKE_INSTALL_PREFIX=/usr',
                 '-DSCRIVEL_BUILD_TESTS=OFF', '-DSCRIVEL_BUILD_BENCH=OFF']
    if ARGS.cxx:
        configure.append(f'-DCMAKE_CXX_COMPILER={ARGS.cxx}')
    if ARGS.launcher:
        configure.append(f'-DCMAKE_CXX_COMPILER_LAUNCHER={ARGS.launcher}')
    shutil.rmtree(ARGS.out, ignore_errors=True)
    os.makedirs(ARGS.out)
    config = os.path.join(ARGS.package_build, 'CPackConfig.cmake')
    for step in (configure,
                 [ARGS.cmake, '--build', ARGS.package_build, '-j2'],
                 [ARGS.cpack, '-G', 'DEB', '--config', config, '-B', ARGS.out]):
        print('+', ' '.join(step), flush=True)
        result = subprocess.run(step, capture_output=True, text=True, stdin=subprocess.DEVNULL)
        if result.returncode != 0:
            print(result.stdout, result.stderr, file=sys.stderr)
            return False
    packages = glob.glob(os.path.join(ARGS.out, '*.deb'))
    if len(packages) != 1:
        print(f'cpack made {packages}', file=sys.stderr)
        return False
    PACKAGE = packages[0]
    ROOT = os.path.join(ARGS.out, 'root')
    CONTROL = os.path.join(ARGS.out, 'control')
    run(['dpkg-deb', '--extract', PACKAGE, ROOT])
    run(['dpkg-deb', '--control', PACKAGE, CONTROL])
    return True


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for name in ('--source-dir', '--build-dir', '--package-build', '--out', '--version',
                 '--installed', '--plugin-dir', '--autostart-dir'):
        parser.add_argument(name, required=True)
    parser.add_argument('--cmake', default='cmake')
    parser.add_argument('--cpack', default='cpack')
    parser.add_argument('--generator', default='Ninja')
    parser.add_argument('--launcher', default='')
    parser.add_argument('--cxx', default='')
    ARGS, rest = parser.parse_known_args()
    tools = ('dpkg-deb', 'dpkg-shlibdeps', 'readelf', 'ldconfig', 'lintian',
             'desktop-file-validate')
    if not all(shutil.which(tool) for tool in tools):
        subprocess.run([os.path.join(ARGS.source_dir, 'scripts', 'deps.sh'), 'package'],
                       stdin=subprocess.DEVNULL)
    for tool in tools:
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
