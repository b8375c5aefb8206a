# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# What the package tests share: the directories given as -D arguments made
# absolute, run() for a command that must succeed, consume(), which builds
# and runs the application in consumer/ against an installed tree, and
# expect_qml_consumer(), which does so for the QML application in qmlconsumer/.

set(source_dir ${CMAKE_CURRENT_LIST_DIR}/../..)
# The directories may be given relative to the working directory; the builds
# below run in directories of their own.
foreach(dir QT6_BUILD_DIR QT5_BUILD_DIR WORK_DIR)
    get_filename_component(${dir} "${${dir}}" ABSOLUTE)
endforeach()
set(consumer_source ${CMAKE_CURRENT_LIST_DIR}/consumer)
# With -DTOOLCHAIN_FILE=..., the applications are built with that toolchain
# file, and with its compiler, flags and pkg-config directories where they are
# built without CMake.
set(consume_cmake_args "")
set(consume_cxx c++)
if(TOOLCHAIN_FILE)
    get_filename_component(TOOLCHAIN_FILE "${TOOLCHAIN_FILE}" ABSOLUTE)
    include(${TOOLCHAIN_FILE})
    set(consume_cmake_args -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE})
    separate_arguments(consume_cxx UNIX_COMMAND "${CMAKE_CXX_COMPILER} ${CMAKE_CXX_FLAGS_INIT}")
endif()
set(ENV{QT_QPA_PLATFORM} offscreen)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        string(REPLACE ";" " " command "${ARGN}")
        message(FATAL_ERROR "'${command}' failed (${status}):\n${out}\n${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

# Where consume() builds: by default on this machine, with the files as they
# are here; the Debian test points these at a root of its own: consume_runner
# is the command that runs a command there (it must end in a form of env, which
# takes the variable settings that consume() puts before a command),
# consume_cmake the cmake it runs, consume_root the root's directory, and
# consume_source the application's sources and consume_work its build
# directories as the runner sees them.
set(consume_runner ${CMAKE_COMMAND} -E env)
set(consume_cmake ${CMAKE_COMMAND})
set(consume_root "")
set(consume_source ${consumer_source})
set(consume_work ${WORK_DIR})

# Builds the application for Qt QT_MAJOR with find_package(PACKAGE) against
# PREFIX, with its libraries in PREFIX/LIBDIR, and runs it; with pkg-config as
# well when PC_MODULE is given.
function(consume name qt_major package prefix libdir pc_module)
    set(build ${consume_work}/${name})
    # The version the version header must give: the one of the package version file.
    file(STRINGS ${consume_root}${prefix}/${libdir}/cmake/${package}/${package}ConfigVersion.cmake version
        REGEX "^set\\(PACKAGE_VERSION ")
    string(REGEX REPLACE ".*\"(.*)\".*" "\\1" version "${version}")
    set(expected "TavixQtBase ${version}, Qt ${qt_major}, SDK [^\n]*, German translation loaded\n.*delivered: consumer works")
    # Given its own directory rather than a prefix path, the package must find the SDK from its own place.
    run(${consume_runner} ${consume_cmake} -S ${consume_source} -B ${build}
        -D${package}_DIR=${prefix}/${libdir}/cmake/${package} -DQT_MAJOR=${qt_major} -DPACKAGE=${package}
        ${consume_cmake_args})
    run(${consume_runner} ${consume_cmake} --build ${build})
    run(${consume_runner} ${build}/consumer)
    if(NOT run_output MATCHES "${expected}")
        message(FATAL_ERROR "unexpected output of ${name}:\n${run_output}")
    endif()
    if(NOT pc_module)
        return()
    endif()
    set(pkg_config ${consume_runner} PKG_CONFIG_PATH=${prefix}/${libdir}/pkgconfig pkg-config)
    run(${pkg_config} --cflags --libs ${pc_module})
    separate_arguments(pc_flags UNIX_COMMAND "${run_output}")
    run(${consume_runner} ${consume_cxx} -std=c++17 -fPIC ${consume_source}/main.cpp -o ${build}/consumer-pc ${pc_flags})
    run(${consume_runner} ${build}/consumer-pc)
    if(NOT run_output MATCHES "${expected}")
        message(FATAL_ERROR "unexpected output of ${name} built with pkg-config:\n${run_output}")
    endif()
endfunction()

# Builds the QML application in BUILD and runs it with the module TavixQtBase
# found through the import path IMPORT_PATH, as in any QML application, and the
# environment settings given after it.
function(expect_qml_consumer build import_path)
    run(${CMAKE_COMMAND} -S ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/qmlconsumer -B ${build})
    run(${CMAKE_COMMAND} --build ${build})
    run(${CMAKE_COMMAND} -E env QML_IMPORT_PATH=${import_path} ${ARGN} ${build}/qmlconsumer)
    if(NOT run_output STREQUAL "qml consumer: 1.5 MHz\n")
        message(FATAL_ERROR "unexpected output of the QML application:\n${run_output}")
    endif()
endfunction()
