#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs the Debian 12 packages Scrivel needs, and only those missing.
#
#   scripts/deps.sh [build] [run] [desktop] [wayland] [package]    (no argument: all of them)
#
#   build    compiler, CMake, Ninja, Qt 6, xcb and Wayland client development
#            files (with wayland-scanner)
#   run      what the program needs at run time
#   desktop  the private X11 desktop used by the end-to-end tests and by
#            scripts/run.sh where there is no display
#   wayland  the headless Wayland compositors (with XWayland) and Wayland
#            clients of the Wayland end-to-end tests
#   package  what builds and checks the Debian package (the install tests)
#
# Runs apt-get as root, or through sudo. A second run with everything in place
# asks dpkg only and returns at once.
set -euo pipefail

build=(build-essential cmake ninja-build pkg-config
       qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev libxcb-xfixes0-dev libwayland-dev)
run=(libqt6widgets6 libqt6svg6 qt6-qpa-plugins libwayland-client0 fonts-dejavu-core
     fonts-liberation2 xdg-utils)
desktop=(xvfb xauth openbox trayer xfce4-panel xfwm4 xdotool xclip x11-utils imagemagick
         dbus-daemon dbus-bin at-spi2-core
         python3 python3-xlib python3-gi python3-pyatspi gir1.2-atspi-2.0
         desktop-file-utils appstream)
wayland=(kwin-wayland sway xwayland wl-clipboard wtype gir1.2-gtk-4.0)
package=(dpkg-dev binutils lintian desktop-file-utils)

groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(build run desktop wayland package)

wanted=()
for group in "${groups[@]}"; do
    case "$group" in
        build) wanted+=("${build[@]}") ;;
        run) wanted+=("${run[@]}") ;;
        desktop) wanted+=("${desktop[@]}") ;;
        wayland) wanted+=("${wayland[@]}") ;;
        package) wanted+=("${package[@]}") ;;
        *) echo "deps.sh: unknown group '$group' (build, run, desktop, wayland, package)" >&2; exit 2 ;;
    esac
done

# One dpkg query for all: installed packages print "ii <name>".
installed=" $(dpkg-query -W -f='${db:Status-Abbrev}${Package}\n' "${wanted[@]}" 2>/dev/null |
              awk '$1 == "ii" { printf "%s ", $2 }' || true)"
missing=()
for package in "${wanted[@]}"; do
    [[ "$installed" == *" $package "* ]] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null; then
    echo "deps.sh: apt-get not found; install these packages by hand: ${missing[*]}" >&2
    exit 1
fi
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "deps.sh: run as root or install sudo; missing: ${missing[*]}" >&2
    exit 1
fi

echo "deps.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Another installation may hold dpkg's lock for a while: wait for it.
lock=(-o DPkg::Lock::Timeout=900)
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${lock[@]}" update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get "${lock[@]}" install -y -q --no-install-recommends "${missing[@]}"
