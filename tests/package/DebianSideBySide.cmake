# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the i386 packages of WORK_DIR/debs and their amd64 twins of
# AMD64_WORK_DIR/debs (the library packages, their -dev packages and the
# stand-ins, Multi-Arch: same) side by side into one clean Debian 12 root for
# both architectures, checks with dpkg that each is installed for both in the
# same version, and there builds and runs the Qt 6 and the Qt 5 application,
# with CMake and with pkg-config, for amd64 with the native compiler and for
# i386 with the cross compiler and the toolchain file TOOLCHAIN_FILE.
# The root's image is made once (tests/package/DebianRoot.cmake) and kept as
# WORK_DIR/bookworm-amd64-i386.tar; without mmdebstrap, root rights or a
# reachable mirror, the test is skipped.
#   cmake -DWORK_DIR=build/debian-i386 -DAMD64_WORK_DIR=build/debian \
#       -DTOOLCHAIN_FILE=cmake/i386-linux-gnu.cmake -P tests/package/DebianSideBySide.cmake

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/DebianRoot.cmake)
get_filename_component(AMD64_WORK_DIR "${AMD64_WORK_DIR}" ABSOLUTE)

# Each i386 package with the amd64 package of the same name; both must have
# the same version, as dpkg requires of Multi-Arch: same packages.
file(GLOB i386_packages ${WORK_DIR}/debs/*_i386.deb)
if(NOT i386_packages)
    message(FATAL_ERROR "no i386 package in ${WORK_DIR}/debs")
endif()
set(names "")
set(packages "")
foreach(i386_package IN LISTS i386_packages)
    run(dpkg-deb --field ${i386_package} Package Version)
    string(REGEX REPLACE "Package: ([^\n]*)\nVersion: ([^\n]*)\n" "\\1;\\2" fields "${run_output}")
    list(GET fields 0 name)
    list(GET fields 1 version)
    set(amd64_package ${AMD64_WORK_DIR}/debs/${name}_${version}_amd64.deb)
    if(NOT EXISTS ${amd64_package})
        file(GLOB others ${AMD64_WORK_DIR}/debs/${name}_*_amd64.deb)
        message(FATAL_ERROR "no amd64 package ${name} ${version} beside ${i386_package} (found: ${others}); "
            "make the amd64 packages of the same sources first (the step debian of scripts/test.sh)")
    endif()
    list(APPEND names ${name})
    list(APPEND packages ${i386_package} ${amd64_package})
endforeach()

set(root ${WORK_DIR}/root)
set(tools g++ make cmake pkg-config g++-i686-linux-gnu)
prepare_root(${WORK_DIR}/bookworm-amd64-i386.tar ${root} amd64,i386
    "${tools};qt6-base-dev;qtbase5-dev;qt6-base-dev:i386;qtbase5-dev:i386")
if(skip_reason)
    message(WARNING "skipped: installing the amd64 and i386 packages side by side into a clean Debian 12 root; "
        "${skip_reason}")
    return()
endif()
file(COPY ${packages} DESTINATION ${root}/tmp/debs)
file(GLOB root_packages RELATIVE ${root} ${root}/tmp/debs/*.deb)
list(TRANSFORM root_packages PREPEND /)
run(${apt_install} ${root_packages} ${tools})

foreach(name IN LISTS names)
    run(${in_root} dpkg-query --show "--showformat=\${Architecture} \${db:Status-Status} \${Version}\n"
        ${name}:amd64 ${name}:i386)
    if(NOT run_output MATCHES "^amd64 installed ([^\n]+)\ni386 installed ([^\n]+)\n$"
            OR NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
        message(FATAL_ERROR "${name} is not installed for amd64 and i386 in one version:\n${run_output}")
    endif()
endforeach()

file(COPY ${consumer_source}/ DESTINATION ${root}/tmp/consumer)
file(COPY ${TOOLCHAIN_FILE} DESTINATION ${root}/tmp)
get_filename_component(toolchain_name ${TOOLCHAIN_FILE} NAME)
set(consume_cmake cmake)
set(consume_root ${root})
set(consume_source /tmp/consumer)
set(consume_work /tmp)

# i386: the toolchain file's compiler and flags (Consume.cmake read them), and
# only the i386 pkg-config modules.
set(consume_runner ${in_root} PKG_CONFIG_LIBDIR=$ENV{PKG_CONFIG_LIBDIR})
set(consume_cmake_args -DCMAKE_TOOLCHAIN_FILE=/tmp/${toolchain_name})
consume(i386-qt6 6 TavixQtBase /usr lib/i386-linux-gnu TavixQtBase)
consume(i386-qt5 5 TavixQtBase-qt5 /usr lib/i386-linux-gnu TavixQtBase-qt5)
foreach(program i386-qt6/consumer i386-qt6/consumer-pc i386-qt5/consumer i386-qt5/consumer-pc)
    run(${in_root} readelf --file-header /tmp/${program})
    if(NOT run_output MATCHES "Machine: +Intel 80386")
        message(FATAL_ERROR "/tmp/${program} is not an i386 program:\n${run_output}")
    endif()
endforeach()

# amd64: the root's own compiler.
set(consume_runner ${in_root})
set(consume_cmake_args "")
set(consume_cxx c++)
consume(amd64-qt6 6 TavixQtBase /usr lib/x86_64-linux-gnu TavixQtBase)
consume(amd64-qt5 5 TavixQtBase-qt5 /usr lib/x86_64-linux-gnu TavixQtBase-qt5)
