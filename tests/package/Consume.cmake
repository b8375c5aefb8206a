# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# What the package tests share: the directories given as -D arguments made
# absolute, run() for a command that must succeed, and consume(), which builds
# and runs the application in consumer/ against an installed tree.

set(source_dir ${CMAKE_CURRENT_LIST_DIR}/../..)
# The directories may be given relative to the working directory; the builds
# below run in directories of their own.
foreach(dir QT6_BUILD_DIR QT5_BUILD_DIR WORK_DIR)
    get_filename_component(${dir} "${${dir}}" ABSOLUTE)
endforeach()
set(consumer_source ${CMAKE_CURRENT_LIST_DIR}/consumer)
set(ENV{QT_QPA_PLATFORM} offscreen)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        string(REPLACE ";" " " command "${ARGN}")
        message(FATAL_ERROR "'${command}' failed (${status}):\n${out}\n${err}")
    endif()
    set(run_output "${out}" PARENT_SCOPE)
endfunction()

# Builds the application for Qt QT_MAJOR with find_package(PACKAGE) against
# PREFIX and runs it; with pkg-config as well when PC_MODULE is given.
function(consume name qt_major package prefix pc_module)
    set(build ${WORK_DIR}/${name})
    # The version the version header must give: the one of the package version file.
    file(STRINGS ${prefix}/lib/cmake/${package}/${package}ConfigVersion.cmake version REGEX "^set\\(PACKAGE_VERSION ")
    string(REGEX REPLACE ".*\"(.*)\".*" "\\1" version "${version}")
    run(${CMAKE_COMMAND} -S ${consumer_source} -B ${build} -DCMAKE_PREFIX_PATH=${prefix}
        -DQT_MAJOR=${qt_major} -DPACKAGE=${package})
    run(${CMAKE_COMMAND} --build ${build})
    run(${build}/consumer)
    if(NOT run_output MATCHES "TavixQtBase ${version}, Qt ${qt_major}, SDK .*delivered: consumer works")
        message(FATAL_ERROR "unexpected output of ${name}:\n${run_output}")
    endif()
    if(NOT pc_module)
        return()
    endif()
    set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
    run(pkg-config --cflags --libs ${pc_module})
    separate_arguments(pc_flags UNIX_COMMAND "${run_output}")
    run(pkg-config --variable=libdir ${pc_module})
    string(STRIP "${run_output}" libdir)
    run(c++ -std=c++17 -fPIC ${consumer_source}/main.cpp -o ${build}/consumer-pc ${pc_flags} -Wl,-rpath,${libdir})
    run(${build}/consumer-pc)
    if(NOT run_output MATCHES "TavixQtBase ${version}, Qt ${qt_major}, SDK .*delivered: consumer works")
        message(FATAL_ERROR "unexpected output of ${name} built with pkg-config:\n${run_output}")
    endif()
endfunction()
