# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Makes the Debian packages of the Qt 6 and the Qt 5 build, fails on any lintian
# error or warning, on dependencies that apt cannot satisfy, on a file that two
# packages ship and on a library with a run path; unpacks them all into one
# root and builds and runs a Qt 6 and a Qt 5 application against it, with
# CMake and with pkg-config.
#   cmake -DQT6_BUILD_DIR=build/qt6 -DQT5_BUILD_DIR=build/qt5 -DWORK_DIR=build/debian \
#         -P tests/package/DebianPackages.cmake

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
set(debs ${WORK_DIR}/debs)
foreach(build_dir ${QT6_BUILD_DIR} ${QT5_BUILD_DIR})
    run(cpack --config ${build_dir}/CPackConfig.cmake -B ${debs})
endforeach()
file(GLOB packages ${debs}/*.deb)

run(lintian --fail-on error,warning ${packages})
run(apt-get install --simulate ${packages})

set(root ${WORK_DIR}/root)
set(shipped "")
foreach(package IN LISTS packages)
    run(dpkg-deb --contents ${package})
    # Directories may be shared; files and links may not.
    string(REGEX MATCHALL "\n[^d][^\n]* \\./[^ \n]*" entries "\n${run_output}")
    foreach(entry IN LISTS entries)
        string(REGEX REPLACE ".* \\./" "" path "${entry}")
        if(path IN_LIST shipped)
            message(FATAL_ERROR "shipped by two packages: ${path} (again by ${package})")
        endif()
        list(APPEND shipped ${path})
    endforeach()
    run(dpkg-deb --extract ${package} ${root})
endforeach()

# In /usr/lib the dynamic linker finds the libraries without a run path.
file(GLOB libraries ${root}/usr/lib/*.so*)
foreach(library IN LISTS libraries)
    run(readelf --dynamic ${library})
    if(run_output MATCHES "RPATH|RUNPATH")
        message(FATAL_ERROR "packaged with a run path: ${library}")
    endif()
endforeach()

# The root's library directory stands in for /usr/lib, which the dynamic linker
# searches: the packaged libraries have no run path.
set(ENV{LD_LIBRARY_PATH} ${root}/usr/lib)
consume(deb-qt6 6 TavixQtBase ${root}/usr TavixQtBase)
consume(deb-qt5 5 TavixQtBase-qt5 ${root}/usr TavixQtBase-qt5)
