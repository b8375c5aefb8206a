# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the Qt 6 build, the Qt 5 build and the SDK stand-ins into one prefix
# component by component and checks that no file is installed twice; builds and
# runs a Qt 6 and a Qt 5 application against that prefix with CMake, which
# compiles every public header alone as well; checks that a project finding the
# build of the other Qt major is told which package to ask for. Then builds the
# library against the stand-ins installed elsewhere as an SDK, with the
# stand-ins off, and runs the application against it; and checks that the
# stand-ins refuse a prefix that holds a real SDK. tests/package/docs_test.py
# runs what the documentation tells a user: the plain install, pkg-config, QML.
#   cmake -DQT6_BUILD_DIR=build/qt6 -DQT5_BUILD_DIR=build/qt5 -DWORK_DIR=build/package \
#         -P tests/package/InstallAndConsume.cmake
# For the 32-bit x86 builds, the same with their build directories and
# -DTOOLCHAIN_FILE=cmake/i386-linux-gnu.cmake.

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)

# Installs one component of a build into PREFIX and appends the files it wrote
# to the list installed_files, failing on a file that an earlier install wrote.
function(install_component build_dir component prefix)
    run(${CMAKE_COMMAND} --install ${build_dir} --prefix ${prefix} --component ${component})
    file(STRINGS ${build_dir}/install_manifest_${component}.txt files)
    foreach(file IN LISTS files)
        if(file IN_LIST installed_files)
            message(FATAL_ERROR "installed twice: ${file} (again by ${build_dir}, component ${component})")
        endif()
    endforeach()
    set(installed_files ${installed_files} ${files} PARENT_SCOPE)
endfunction()

function(check_installed prefix)
    foreach(path IN LISTS ARGN)
        if(NOT EXISTS ${prefix}/${path})
            message(FATAL_ERROR "not installed: ${path}")
        endif()
    endforeach()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/usr)
set(installed_files "")
install_component(${QT6_BUILD_DIR} SdkStandins ${prefix})
install_component(${QT6_BUILD_DIR} SdkStandinsDevel ${prefix})
# The builds of another toolchain (TOOLCHAIN_FILE, the 32-bit x86 one) have
# the library, its development files and the stand-ins; no QML module,
# documentation or examples.
set(components Runtime Devel)
if(NOT TOOLCHAIN_FILE)
    list(APPEND components Documentation Examples)
endif()
foreach(build_dir ${QT6_BUILD_DIR} ${QT5_BUILD_DIR})
    foreach(component IN LISTS components)
        install_component(${build_dir} ${component} ${prefix})
    endforeach()
endforeach()

check_installed(${prefix}
    lib/libTavixQtBase.so.1 lib/libTavixQtBase.so lib/libTavixQtBase-qt5.so.1 lib/libTavixQtBase-qt5.so
    lib/libtavixbase-5.0.1.so lib/libGCBase_tavix_v5_0.so
    include/GenICam/GCBase.h include/tavix/DeviceInfo.h include/tavix/TavixVersion.h
    lib/pkgconfig/TavixQtBase.pc lib/pkgconfig/TavixQtBase-qt5.pc
    lib/cmake/TavixQtBase/TavixQtBaseConfigVersion.cmake lib/cmake/TavixQtBase-qt5/TavixQtBase-qt5ConfigVersion.cmake)
if(NOT TOOLCHAIN_FILE)
    install_component(${QT6_BUILD_DIR} Qml ${prefix})
    check_installed(${prefix} lib/qt6/qml/TavixQtBase/qmldir lib/qt6/qml/TavixQtBase/libTavixQtBaseQml.so
        lib/qt6/qml/TavixQtBase/TavixQtBaseQml.qmltypes)
endif()
file(GLOB public_headers RELATIVE ${source_dir}/include/TavixQtBase ${source_dir}/include/TavixQtBase/*.h)
foreach(header IN LISTS public_headers ITEMS tavixqtbase_version.h)
    check_installed(${prefix} include/TavixQtBase/${header} include/TavixQtBase-qt5/TavixQtBase/${header})
endforeach()
file(GLOB_RECURSE private_headers ${prefix}/include/*_p.h)
if(private_headers)
    message(FATAL_ERROR "private headers installed: ${private_headers}")
endif()

# The docs test builds the amd64 programs with pkg-config as the README says; the
# 32-bit x86 ones are built so here.
set(pc_qt6 "")
set(pc_qt5 "")
if(TOOLCHAIN_FILE)
    set(pc_qt6 TavixQtBase)
    set(pc_qt5 TavixQtBase-qt5)
endif()
consume(qt6 6 TavixQtBase ${prefix} lib "${pc_qt6}")
consume(qt5 5 TavixQtBase-qt5 ${prefix} lib "${pc_qt5}")

# A Qt QT_MAJOR project that finds PACKAGE, built for the other major, fails
# with the message that names the package to ask for instead.
function(expect_other_major qt_major package found_major other_package)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${consumer_source} -B ${WORK_DIR}/mixed-qt${qt_major}
        -DCMAKE_PREFIX_PATH=${prefix} -DQT_MAJOR=${qt_major} -DPACKAGE=${package} ${consume_cmake_args}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(REGEX REPLACE "[ \n]+" " " err "${err}")
    if(status EQUAL 0 OR NOT err MATCHES "is the Qt ${found_major} build.*find_package\\(${other_package}\\)")
        message(FATAL_ERROR "a Qt ${qt_major} project finding ${package} was not told to ask for ${other_package}:\n${err}")
    endif()
endfunction()
expect_other_major(5 TavixQtBase 6 TavixQtBase-qt5)
expect_other_major(6 TavixQtBase-qt5 5 TavixQtBase)

# The stand-ins installed as an SDK of their own, the library built against them.
set(sdk_build_args "")
if(TOOLCHAIN_FILE)
    set(sdk_build_args ${consume_cmake_args} -DTAVIXQTBASE_BUILD_QML=OFF)
endif()
set(sdk ${WORK_DIR}/sdk)
set(opt ${WORK_DIR}/opt)
foreach(component SdkStandins SdkStandinsDevel)
    run(${CMAKE_COMMAND} --install ${QT6_BUILD_DIR} --prefix ${sdk} --component ${component})
endforeach()
run(${CMAKE_COMMAND} -S ${source_dir} -B ${WORK_DIR}/sdk-build -G Ninja -DCMAKE_BUILD_TYPE=Release
    -DTAVIXQTBASE_BUILD_SDK_STANDINS=OFF -DTAVIXQTBASE_SDK_PREFIX=${sdk} -DBUILD_TESTING=OFF
    -DTAVIXQTBASE_BUILD_EXAMPLES=OFF -DTAVIXQTBASE_BUILD_DOCS=OFF ${sdk_build_args})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/sdk-build --parallel 2)
run(${CMAKE_COMMAND} --install ${WORK_DIR}/sdk-build --prefix ${opt})
consume(sdk 6 TavixQtBase ${opt} lib "")

# The stand-ins do not overwrite a real SDK: the install stops before them.
set(real_sdk ${WORK_DIR}/real-sdk)
file(WRITE ${real_sdk}/include/tavix/TavixVersion.h "// the real SDK's header\n")
execute_process(COMMAND ${CMAKE_COMMAND} --install ${QT6_BUILD_DIR} --prefix ${real_sdk}
    RESULT_VARIABLE status ERROR_VARIABLE err OUTPUT_QUIET)
file(GLOB stand_ins ${real_sdk}/lib/*tavixbase* ${real_sdk}/include/GenICam)
if(status EQUAL 0 OR stand_ins OR NOT err MATCHES "holds a camera SDK")
    message(FATAL_ERROR "the stand-ins were installed over a real SDK (${status}, ${stand_ins}):\n${err}")
endif()
