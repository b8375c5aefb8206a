# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Builds the Qt 6 and the Qt 5 library as Debian builds its packages (prefix
# /usr, so the multiarch library directory, and Debian's build flags with all
# hardening) and makes their Debian packages, which checks their symbols files;
# fails on any lintian error or warning, on dependencies that apt cannot
# satisfy, on a file that two packages ship and on a library or pkg-config
# module with a run path, and runs a QML application here with the QML module
# of the unpacked packages.
# Then installs them with apt-get into a clean Debian 12 root: first the
# library packages alone, which must bring no header, CMake or pkg-config file;
# then all of them, builds and runs a Qt 6 and a Qt 5 application there with
# CMake and with pkg-config, imports the Python module and runs the example of
# docs/python.md, and checks the installed Qt help file with qhelpgenerator.
# The root is made once with mmdebstrap (tests/package/DebianRoot.cmake), with
# the packages the test installs downloaded into it, and kept as
# WORK_DIR/bookworm.tar, as are the build trees; without mmdebstrap, root rights
# or a reachable mirror, that part is skipped.
#   cmake -DWORK_DIR=build/debian -P tests/package/DebianPackages.cmake
# With -DTOOLCHAIN_FILE=cmake/i386-linux-gnu.cmake, the same for the 32-bit x86
# packages (the library, its development files and the stand-ins of both Qt
# builds; no QML module, no documentation) up to the clean root, where
# tests/package/DebianSideBySide.cmake installs them beside the amd64 ones.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/DebianRoot.cmake)

set(debs ${WORK_DIR}/debs)
set(unpacked ${WORK_DIR}/unpacked)
set(root ${WORK_DIR}/root)
set(help ${WORK_DIR}/help)
file(REMOVE_RECURSE ${debs} ${unpacked} ${root} ${help})

# Debian's build flags as debhelper passes them to CMake, which reads CXXFLAGS
# and LDFLAGS but not CPPFLAGS (-D_FORTIFY_SOURCE): those go into CXXFLAGS.
set(ENV{DEB_BUILD_MAINT_OPTIONS} hardening=+all)
set(package_args "")
set(architecture "")
if(TOOLCHAIN_FILE)
    # Debian's flags for the packages' architecture, which the toolchain file
    # names; the multiarch directory given as debhelper gives it (CMake picks
    # it itself only when not cross-compiling).
    set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
    set(architecture -a${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
    set(package_args ${consume_cmake_args} -DCMAKE_INSTALL_LIBDIR=lib/${CMAKE_LIBRARY_ARCHITECTURE}
        -DTAVIXQTBASE_BUILD_QML=OFF -DTAVIXQTBASE_BUILD_DOCS=OFF)
endif()
foreach(flags CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND dpkg-buildflags --get ${flags} WORKING_DIRECTORY ${source_dir}
        OUTPUT_VARIABLE ${flags} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()

function(make_packages qt_major)
    set(build ${WORK_DIR}/build-qt${qt_major})
    run(${CMAKE_COMMAND} -E env "CXXFLAGS=${CXXFLAGS} ${CPPFLAGS}" "LDFLAGS=${LDFLAGS}"
        ${CMAKE_COMMAND} -S ${source_dir} -B ${build} -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr
        -DTAVIXQTBASE_QT_MAJOR=${qt_major} -DBUILD_TESTING=OFF -DTAVIXQTBASE_BUILD_EXAMPLES=OFF ${package_args} ${ARGN})
    run(${CMAKE_COMMAND} --build ${build} --parallel 2)
    if(qt_major EQUAL 6 AND NOT TOOLCHAIN_FILE)
        run(${CMAKE_COMMAND} --build ${build} --target docs)
    endif()
    run(cpack --config ${build}/CPackConfig.cmake -B ${debs})
endfunction()
make_packages(6)
make_packages(5 -DTAVIXQTBASE_BUILD_DOCS=OFF)
file(GLOB packages ${debs}/*.deb)

run(lintian --fail-on error,warning ${packages})
run(apt-get install --simulate ${packages})

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
    run(dpkg-deb --extract ${package} ${unpacked})
endforeach()

# In the multiarch directory the dynamic linker finds the libraries without a run path.
execute_process(COMMAND dpkg-architecture ${architecture} --query DEB_HOST_MULTIARCH OUTPUT_VARIABLE multiarch
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(libdir lib/${multiarch})
set(qml_dir ${unpacked}/usr/${libdir}/qt6/qml)
file(GLOB libraries ${unpacked}/usr/${libdir}/*.so* ${qml_dir}/TavixQtBase/*.so)
if(NOT libraries)
    message(FATAL_ERROR "no library in /usr/${libdir}")
endif()
foreach(library IN LISTS libraries)
    run(readelf --dynamic ${library})
    if(run_output MATCHES "RPATH|RUNPATH")
        message(FATAL_ERROR "packaged with a run path: ${library}")
    endif()
endforeach()
# Nor do the programs linked with the packages' pkg-config modules get one.
file(GLOB pc_files ${unpacked}/usr/${libdir}/pkgconfig/*.pc)
if(NOT pc_files)
    message(FATAL_ERROR "no pkg-config module in /usr/${libdir}/pkgconfig")
endif()
foreach(pc_file IN LISTS pc_files)
    file(STRINGS ${pc_file} pc_rpath REGEX "rpath")
    if(pc_rpath)
        message(FATAL_ERROR "packaged pkg-config module with a run path: ${pc_file}")
    endif()
endforeach()

# The packages of another architecture go into a root beside the amd64 ones
# (tests/package/DebianSideBySide.cmake).
if(TOOLCHAIN_FILE)
    return()
endif()

# The QML module of the packages, imported by a QML application from the Qt 6
# directory of QML modules; its plugin finds the library without a run path.
expect_qml_consumer(${WORK_DIR}/qmlconsumer ${qml_dir} LD_LIBRARY_PATH=${unpacked}/usr/${libdir})

# The clean root, as an image made once: a Debian 12 system with apt, and the
# packages that the test installs there besides its own, downloaded.
set(tools g++ make cmake pkg-config)
prepare_root(${WORK_DIR}/bookworm.tar ${root} "" "${tools};qt6-base-dev;qtbase5-dev;libqt6qml6;python3-pyqt6")
if(skip_reason)
    message(WARNING "skipped: installing the packages into a clean Debian 12 root; ${skip_reason}")
    return()
endif()
file(COPY ${packages} DESTINATION ${root}/tmp/debs)

# The library packages alone bring the libraries, not what building needs:
# no header, and no CMake or pkg-config file in the library directories.
set(development_files include/* *.h lib/*/cmake/* lib/*/pkgconfig/*)
list(TRANSFORM development_files PREPEND ${root}/usr/)
file(GLOB_RECURSE files_before ${development_files})
file(GLOB runtime_packages RELATIVE ${root} ${root}/tmp/debs/libtavixqtbase1_*.deb
    ${root}/tmp/debs/libtavixqtbase-qt5-1_*.deb ${root}/tmp/debs/tavix-sdk-standins_*.deb)
list(TRANSFORM runtime_packages PREPEND /)
run(${apt_install} ${runtime_packages})
file(GLOB_RECURSE files_after ${development_files})
list(REMOVE_ITEM files_after ${files_before})
if(files_after)
    message(FATAL_ERROR "the library packages installed development files: ${files_after}")
endif()

file(GLOB all_packages RELATIVE ${root} ${root}/tmp/debs/*.deb)
list(TRANSFORM all_packages PREPEND /)
run(${apt_install} ${all_packages} ${tools})

# The Python module, where the Qt 6 build made it, imports there, and the
# example of docs/python.md, which ends itself, runs there as written.
if(EXISTS ${WORK_DIR}/build-qt6/python)
    run(${in_root} python3 -c "import tavixqtbase")
    file(READ ${source_dir}/docs/python.md python_page)
    string(REGEX MATCH "```python\n([^`]*)```" python_example "${python_page}")
    file(WRITE ${root}/tmp/example.py "${CMAKE_MATCH_1}")
    run(${in_root} python3 /tmp/example.py)
endif()

file(COPY ${consumer_source}/ DESTINATION ${root}/tmp/consumer)
set(consume_runner ${in_root})
set(consume_cmake cmake)
set(consume_root ${root})
set(consume_source /tmp/consumer)
set(consume_work /tmp)
consume(deb-qt6 6 TavixQtBase /usr ${libdir} TavixQtBase)
consume(deb-qt5 5 TavixQtBase-qt5 /usr ${libdir} TavixQtBase-qt5)

# The help file is valid when Qt's help collection generator, the one the
# documentation was built with, registers it.
file(STRINGS ${WORK_DIR}/build-qt6/CMakeCache.txt qhelpgenerator REGEX "^TAVIXQTBASE_QHELPGENERATOR:")
string(REGEX REPLACE "^[^=]*=" "" qhelpgenerator "${qhelpgenerator}")
set(help_file ${root}/usr/share/qt6/doc/TavixQtBase.qch)
set(collection ${help}/collection.qhcp)
file(WRITE ${collection} "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<QHelpCollectionProject version=\"1.0\"><docFiles><register><file>${help_file}</file></register></docFiles></QHelpCollectionProject>
")
run(${qhelpgenerator} ${collection} -o ${help}/collection.qhc)
