# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Debian packages of one Qt build, made by CPack from the install components.
# They install into /usr, and only a build configured for that prefix makes
# them, as Debian builds its packages (docs/debian-packages.md): GNUInstallDirs
# then puts the libraries into the multiarch directory lib/<triplet>.
#   cpack --config build/deb-qt6/CPackConfig.cmake -B build/debs
# Runtime becomes the library package, named after the soname as Debian names
# library packages (libtavixqtbase1; the Qt 5 build libtavixqtbase-qt5-1), Devel
# its -dev package, and Qml, the Qt 6 build's QML module, a package named as
# Debian names QML modules (qml6-module-tavixqtbase). One of the two Qt builds
# also makes the packages that both share: SdkStandins and SdkStandinsDevel,
# the SDK stand-ins split as the SDK's packages are (tavix-sdk-standins,
# tavix-sdk-standins-dev), and Documentation, the API documentation
# (libtavixqtbase-doc). Python, the Qt 6 build's Python module, becomes
# python3-tavixqtbase. Examples stay out: the examples of both builds install
# the same paths. The libraries and the QML plugin lose their run path in the
# packages, where the dynamic linker finds them without one
# (cmake/debian/StagePackages.cmake, which also adds each package's copyright
# file, changelog and symbols file; cmake/debian/FinishPackages.cmake adds the
# Multi-Arch field, which CPack does not write).

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    return()
endif()

string(TOLOWER ${TAVIXQTBASE_NAME} deb_name)
# libfoo.so.1 is packaged as libfoo1, libfoo-qt5.so.1 as libfoo-qt5-1.
if(deb_name MATCHES "[0-9]$")
    set(deb_runtime lib${deb_name}-${PROJECT_VERSION_MAJOR})
else()
    set(deb_runtime lib${deb_name}${PROJECT_VERSION_MAJOR})
endif()
set(deb_dev lib${deb_name}-dev)
set(deb_standins tavix-sdk-standins)
set(deb_standins_dev tavix-sdk-standins-dev)
set(deb_doc libtavixqtbase-doc)
set(deb_qml qml6-module-${deb_name})

if(TAVIXQTBASE_QT_MAJOR STREQUAL "6")
    set(deb_qt_dev qt6-base-dev)
else()
    set(deb_qt_dev qtbase5-dev)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Devel)
set(CPACK_PACKAGE_NAME ${deb_name})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(deb_version ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TavixQtBase contributors <${TAVIXQTBASE_SUPPORT_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TAVIXQTBASE_WEBSITE_URL})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Each package has a synopsis of its own; an empty summary keeps CPack from
# putting the project's description in front of every one.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
# Qt, the C++ runtime and libc from what the libraries need; a library that
# no package provides (the SDK's) gives nothing and is named below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The control files of a library package: its shlibs file (what packages built
# against it depend on), its ldconfig trigger and, for the packages with a
# symbols file in cmake/debian, the symbols file that StagePackages.cmake
# writes into the same directory.
function(deb_library_control component package)
    set(dir ${PROJECT_BINARY_DIR}/debian/${component})
    list(JOIN ARGN "\n" shlibs)
    file(WRITE ${dir}/shlibs "${shlibs}\n")
    file(WRITE ${dir}/triggers "activate-noawait ldconfig\n")
    set(files ${dir}/shlibs ${dir}/triggers)
    if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/debian/${package}.symbols)
        list(APPEND files ${dir}/symbols)
    endif()
    string(TOUPPER ${component} upper)
    set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package} PARENT_SCOPE)
    set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION libs PARENT_SCOPE)
    set(CPACK_DEBIAN_${upper}_PACKAGE_CONTROL_EXTRA ${files} PARENT_SCOPE)
endfunction()

set(deb_about
    "TavixQtBase is the library that the Qt desktop applications of the tavix
machine-vision camera SDK have in common: error reporting from any thread,
frame-rate statistics, locale-aware formatting of values and device
descriptions, persistence of window and table layouts, and system and
support information.")

deb_library_control(Runtime ${deb_runtime} "lib${TAVIXQTBASE_NAME} ${PROJECT_VERSION_MAJOR} ${deb_runtime} (>= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "Qt ${TAVIXQTBASE_QT_MAJOR} helpers for tavix camera applications - library
${deb_about}

This package contains the shared library built with Qt ${TAVIXQTBASE_QT_MAJOR}
and its translations.")

set(CPACK_DEBIAN_DEVEL_PACKAGE_NAME ${deb_dev})
set(CPACK_DEBIAN_DEVEL_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVEL_PACKAGE_DEPENDS "${deb_runtime} (= ${deb_version}), ${deb_qt_dev}")
set(CPACK_DEBIAN_DEVEL_PACKAGE_RECOMMENDS ${deb_doc})
set(CPACK_DEBIAN_DEVEL_DESCRIPTION "Qt ${TAVIXQTBASE_QT_MAJOR} helpers for tavix camera applications - development files
${deb_about}

This package contains the headers, the CMake package ${TAVIXQTBASE_NAME} and
the pkg-config module ${TAVIXQTBASE_NAME} of the Qt ${TAVIXQTBASE_QT_MAJOR} build.")

# The library packages and their -dev packages install for several
# architectures side by side; the documentation serves them all.
set(deb_multi_arch ${deb_runtime}=same ${deb_dev}=same)

if(TAVIXQTBASE_BUILD_SDK_STANDINS)
    # The library needs the stand-ins' libraries, its headers their headers.
    set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "${deb_standins} (>= ${deb_version})")
    string(APPEND CPACK_DEBIAN_DEVEL_PACKAGE_DEPENDS ", ${deb_standins_dev} (= ${deb_version})")
    get_target_property(deb_sdk_libdirs TavixBase BINARY_DIR)
else()
    set(deb_sdk_libdirs ${TavixSdk_LIBRARY_DIRS})
endif()

if(TAVIXQTBASE_BUILD_QML)
    list(APPEND CPACK_COMPONENTS_ALL Qml)
    set(CPACK_DEBIAN_QML_PACKAGE_NAME ${deb_qml})
    set(CPACK_DEBIAN_QML_PACKAGE_SECTION libs)
    # The plugin uses the library's public functions only, so any library of
    # this soname from this version on serves it, as the library's shlibs file
    # says for every program built against it; dpkg-shlibdeps, which finds the
    # library in its build directory but no package of it, cannot write this.
    set(CPACK_DEBIAN_QML_PACKAGE_DEPENDS "${deb_runtime} (>= ${PROJECT_VERSION})")
    set(CPACK_DEBIAN_QML_DESCRIPTION "Qt 6 helpers for tavix camera applications - QML module
${deb_about}

This package contains the QML module TavixQtBase 1.0 for Qt Quick
applications: the formatters, the frame-rate statistic, the error queue, the
support information and the window layout persistence.")
    get_target_property(deb_library_dir TavixQtBase BINARY_DIR)
    list(APPEND deb_multi_arch ${deb_qml}=same)
endif()

if(TAVIXQTBASE_BUILD_PYTHON)
    list(APPEND CPACK_COMPONENTS_ALL Python)
    set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-${deb_name})
    set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
    # As the QML plugin, the module serves with any library of its version or
    # newer; it is built for one Python version, as Debian's extension modules are.
    math(EXPR deb_python_next "${Python3_VERSION_MINOR} + 1")
    set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "${deb_runtime} (>= ${PROJECT_VERSION}), python3-pyqt6, \
python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}~), python3 (<< ${Python3_VERSION_MAJOR}.${deb_python_next})")
    set(CPACK_DEBIAN_PYTHON_DESCRIPTION "Qt 6 helpers for tavix camera applications - Python module
${deb_about}

This package contains the Python module tavixqtbase for PyQt6 applications.")
    get_target_property(deb_library_dir TavixQtBase BINARY_DIR)
endif()

if(TAVIXQTBASE_DEB_COMMON_PACKAGES AND TAVIXQTBASE_BUILD_DOCS)
    list(APPEND CPACK_COMPONENTS_ALL Documentation)
    set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_NAME ${deb_doc})
    set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_SECTION doc)
    set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_ARCHITECTURE all)
    set(CPACK_DEBIAN_DOCUMENTATION_DESCRIPTION "Qt helpers for tavix camera applications - API documentation
${deb_about}

This package contains the API documentation of both Qt builds as HTML pages
and as the Qt help file TavixQtBase.qch, in Qt's documentation directory,
where Qt Assistant and Qt Creator find it.")
    list(APPEND deb_multi_arch ${deb_doc}=foreign)
endif()

if(TAVIXQTBASE_BUILD_SDK_STANDINS AND TAVIXQTBASE_DEB_COMMON_PACKAGES)
    list(APPEND CPACK_COMPONENTS_ALL SdkStandins SdkStandinsDevel)
    deb_library_control(SdkStandins ${deb_standins} "libGCBase_tavix_v5_0 5.0 ${deb_standins} (>= ${PROJECT_VERSION})"
        "libtavixbase 5.0.1 ${deb_standins} (>= ${PROJECT_VERSION})")
    set(deb_standins_about "Small shared libraries with the interfaces of the tavix camera SDK's base
library (libtavixbase-5.0.1.so) and GenICam base library
(libGCBase_tavix_v5_0.so), laid out as the SDK is.

They let TavixQtBase be built, tested and used without the SDK; they
conflict with an installed SDK.")
    set(CPACK_DEBIAN_SDKSTANDINS_DESCRIPTION "stand-ins for the libraries of the tavix camera SDK
${deb_standins_about}

This package contains the shared libraries.")
    set(CPACK_DEBIAN_SDKSTANDINSDEVEL_PACKAGE_NAME ${deb_standins_dev})
    set(CPACK_DEBIAN_SDKSTANDINSDEVEL_PACKAGE_SECTION libdevel)
    set(CPACK_DEBIAN_SDKSTANDINSDEVEL_PACKAGE_DEPENDS "${deb_standins} (= ${deb_version})")
    set(CPACK_DEBIAN_SDKSTANDINSDEVEL_DESCRIPTION "stand-ins for the libraries of the tavix camera SDK - development files
${deb_standins_about}

This package contains their headers and the CMake targets TavixSdk::TavixBase
and TavixSdk::GCBase.")
    list(APPEND deb_multi_arch ${deb_standins}=same ${deb_standins_dev}=same)
endif()

# dpkg-shlibdeps looks here for the SDK's libraries and, for the QML plugin,
# the library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${deb_sdk_libdirs} ${deb_library_dir})

# What StagePackages.cmake and FinishPackages.cmake need; CPack hands on only
# CPACK_ variables.
set(CPACK_TAVIXQTBASE_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_TAVIXQTBASE_CONTROL_DIR ${PROJECT_BINARY_DIR}/debian)
set(CPACK_TAVIXQTBASE_DEB_VERSION ${deb_version})
set(CPACK_TAVIXQTBASE_MULTI_ARCH ${deb_multi_arch})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/StagePackages.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/FinishPackages.cmake)

include(CPack)
