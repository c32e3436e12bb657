# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs an end-to-end test script's tests.

Every script takes --program PATH and --plugin-dir DIR (or SCRIVEL_PROGRAM and
SCRIVEL_PLUGIN_DIR in the environment), optionally --tray-host with one of
desktop.TRAY_HOSTS (trayer unless told), followed by unittest's own arguments,
and exits with 77, which CTest reports as skipped, only when the program has
not been built.
"""

import argparse
import os
import sys
import unittest

import desktop


def run_tests(config):
    """config: the module whose PROGRAM, PLUGIN_DIR, TRAY_HOST and _session the
    tests use."""
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument('--program', default=config.PROGRAM)
    parser.add_argument('--plugin-dir', default=config.PLUGIN_DIR)
    parser.add_argument('--tray-host', default=config.TRAY_HOST, choices=desktop.TRAY_HOSTS)
    args, rest = parser.parse_known_args()
    config.PROGRAM, config.PLUGIN_DIR = os.path.abspath(args.program), args.plugin_dir
    config.TRAY_HOST = args.tray_host
    if not os.access(config.PROGRAM, os.X_OK):
        print(f'SKIPPED: the program is not built: {config.PROGRAM} is missing',
              file=sys.stderr)
        return 77
    desktop.install_signal_teardown(lambda: config._session)
    program = unittest.main(module='__main__', argv=[sys.argv[0]] + rest, verbosity=2,
                            exit=False)
    return 0 if program.result.wasSuccessful() else 1
