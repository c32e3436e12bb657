# SPDX-License-Identifier: GPL-3.0-or-later

# scrivel_path_from_bindir(OUT DIR)
# The path by which the installed program reaches DIR from its own folder
# (CMAKE_INSTALL_BINDIR). When both folders are relative to the prefix, so is
# the result, and an installed tree keeps working when it is moved as a whole,
# whatever the prefix and the library folder (lib, lib64,
# lib/x86_64-linux-gnu). An absolute DIR is a fixed place and comes back
# as it is, normalized.
function(scrivel_path_from_bindir out dir)
    if(IS_ABSOLUTE "${dir}")
        cmake_path(NORMAL_PATH dir)
        string(REGEX REPLACE "(.)/$" "\\1" dir "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
        return()
    endif()
    # A relative folder hangs off the prefix; with both folders relative the
    # prefix cancels out.
    cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_BINDIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
               NORMALIZE OUTPUT_VARIABLE from)
    cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE
               OUTPUT_VARIABLE to)
    file(RELATIVE_PATH relative "${from}" "${to}")
    string(REGEX REPLACE "/$" "" relative "${relative}") # "../" for a parent
    if(relative STREQUAL "")
        set(relative ".")
    endif()
    set(${out} "${relative}" PARENT_SCOPE)
endfunction()
