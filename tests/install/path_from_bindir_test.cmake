# SPDX-License-Identifier: GPL-3.0-or-later
# Run with: cmake -DMODULE=<cmake/InstallLayout.cmake> -P path_from_bindir_test.cmake
include(${MODULE})

set(failures 0)
# prefix | program folder | target folder | expected path from the program's folder
set(cases
    "/usr|bin|lib/x86_64-linux-gnu/scrivel|../lib/x86_64-linux-gnu/scrivel"
    "/usr/local|bin|lib/scrivel|../lib/scrivel"
    "/usr|bin|share/scrivel|../share/scrivel"
    "/opt/scrivel|bin/|lib64//scrivel/|../lib64/scrivel"
    "/opt/scrivel|libexec/scrivel/bin|lib/scrivel|../../../lib/scrivel"
    "/opt/scrivel|bin|bin|."
    "/opt/scrivel|bin|.|.."
    "/opt/scrivel|bin|./lib/../lib/scrivel|../lib/scrivel"
    "/usr|/usr/bin|lib/scrivel|../lib/scrivel"
    "/usr|/usr/games|lib/scrivel|../lib/scrivel"
    "/usr|bin|/opt/x/../plugins/scrivel/|/opt/plugins/scrivel"
    "/usr|bin|/|/")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 CMAKE_INSTALL_PREFIX)
    list(GET fields 1 CMAKE_INSTALL_BINDIR)
    list(GET fields 2 dir)
    list(GET fields 3 expected)
    scrivel_path_from_bindir(got "${dir}")
    if(NOT got STREQUAL expected)
        message(SEND_ERROR "prefix ${CMAKE_INSTALL_PREFIX}, program in ${CMAKE_INSTALL_BINDIR}, "
                           "${dir}: got \"${got}\", expected \"${expected}\"")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
list(LENGTH cases count)
if(failures)
    message(FATAL_ERROR "${failures} of ${count} cases failed")
endif()
message(STATUS "${count} cases passed")
