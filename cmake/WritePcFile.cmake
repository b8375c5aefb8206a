# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Install scripts run without the project's policies.
cmake_policy(VERSION 3.25)

# Run at install time: writes the .pc file pc_installed from pc_configured for
# the prefix being installed into, with the run path of its library directory
# pc_libdir unless that is one of system_libdirs, which the linker searches anyway.

set(TAVIXQTBASE_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(TAVIXQTBASE_PC_RPATH "")
get_filename_component(libdir "${CMAKE_INSTALL_PREFIX}/${pc_libdir}" ABSOLUTE)
if(NOT libdir IN_LIST system_libdirs)
    set(TAVIXQTBASE_PC_RPATH " -Wl,-rpath,\${libdir}")
endif()
configure_file("${pc_configured}" "${pc_installed}" @ONLY)
