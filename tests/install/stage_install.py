# SPDX-License-Identifier: GPL-3.0-or-later
"""Installs the build into DEST/staged with `cmake --install`, then moves the
whole tree to DEST/moved: what the tests run must not depend on the prefix
it was installed under.

Usage: stage_install.py --build BUILD_DIR --dest DEST
"""

import argparse
import os
import shutil
import subprocess
import sys


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', required=True)
    parser.add_argument('--dest', required=True)
    parser.add_argument('--cmake', default='cmake')
    args = parser.parse_args()

    staged = os.path.join(args.dest, 'staged')
    moved = os.path.join(args.dest, 'moved')
    shutil.rmtree(args.dest, ignore_errors=True)
    os.makedirs(args.dest)
    result = subprocess.run([args.cmake, '--install', args.build, '--prefix', staged],
                            stdin=subprocess.DEVNULL)
    if result.returncode != 0:
        print(f'cmake --install failed with {result.returncode}', file=sys.stderr)
        return 1
    os.rename(staged, moved)
    print(f'installed into {staged}, moved to {moved}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
