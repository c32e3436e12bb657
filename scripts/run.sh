#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what Scrivel needs, builds it (in build/, reused) and starts it.
# Where there is no display, it shows Scrivel at work in a private virtual
# desktop instead: a few texts are copied from another program, a screenshot
# is saved, and its path and the captured entries are printed.
set -euo pipefail
cd "$(dirname "$0")/.."

headless=
[ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && headless=1

if [ -n "$headless" ]; then
    scripts/deps.sh build run desktop
else
    scripts/deps.sh build run
fi

[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DSCRIVEL_WERROR=ON
# The program brings its plugin and help pages along; the tests are left out.
cmake --build build -j2 --target scrivel

if [ -n "$headless" ]; then
    echo "No display: starting a private virtual desktop session."
    export PYTHONDONTWRITEBYTECODE=1
    exec /usr/bin/python3 tests/e2e/demo.py --program build/bin/scrivel \
        --plugin-dir build/bin --out build/screenshots
fi

# The global clipboard is out of reach of a Wayland client without focus:
# run on XWayland.
if [ -n "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    export QT_QPA_PLATFORM=xcb
fi
exec build/bin/scrivel
