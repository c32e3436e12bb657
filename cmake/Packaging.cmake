# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package: `cpack -G DEB` in a build folder gives
# scrivel_<version>_<arch>.deb with everything `cmake --install` puts in
# place, under /usr. Configure with -DCMAKE_INSTALL_PREFIX=/usr so that the
# library folder follows Debian's layout (lib/<multiarch triplet>).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scrivel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Scrivel developers")
set(CPACK_PACKAGE_CONTACT "Scrivel developers <scrivel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clipboard history with an Italian user interface")
# Lines of at most 80 characters, as the control file wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Scrivel keeps a history of the texts you copy. Every text that any program"
    "puts on the clipboard becomes a new line in Scrivel's list, so you can put"
    "an earlier one back on the clipboard later, edit it, merge several into one,"
    "or delete them. A tray icon shows whether the clipboard is being watched and"
    "opens a menu of every entry. The user interface is in Italian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
# The libraries the program and its plugin link, with the least versions their
# symbols need, come from dpkg-shlibdeps (the xcb platform plugin is part of
# libqt6gui6).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What it needs besides, one package a line.
set(SCRIVEL_DEBIAN_DEPENDS
    xdg-utils # opens the help pages
    "fonts-liberation2 | fonts-liberation" # the widths the windows are laid out for
)
list(JOIN SCRIVEL_DEBIAN_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

# The autostart entry lies in /etc: dpkg keeps a user's changes to it across
# upgrades only when it is listed as a configuration file.
set(SCRIVEL_DEBIAN_CONFFILES ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
file(WRITE ${SCRIVEL_DEBIAN_CONFFILES} "${SCRIVEL_AUTOSTART_FULL_DIR}/${SCRIVEL_APP_ID}.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${SCRIVEL_DEBIAN_CONFFILES})

# Only a build for the prefix /usr has Debian's layout (the multiarch library
# folder, /etc); cpack refuses any other.
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/debian/wrong-prefix.cmake)
    file(WRITE ${CPACK_PROJECT_CONFIG_FILE}
        "message(FATAL_ERROR \"The Debian package is built from a build folder configured "
        "with -DCMAKE_INSTALL_PREFIX=/usr; this one has ${CMAKE_INSTALL_PREFIX}.\")\n")
endif()

include(CPack)
