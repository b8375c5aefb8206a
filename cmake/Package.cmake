# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the library and its CMake package and pkg-config module, named
# TAVIXQTBASE_NAME (TavixQtBase for Qt 6, TavixQtBase-qt5 for Qt 5). The package
# provides the target TavixQtBase::TavixQtBase and finds the SDK again through
# FindTavixSdk.cmake (the targets TavixSdk::TavixBase and TavixSdk::GCBase):
# where the library was built against an installed SDK, in that SDK's prefix;
# with the stand-ins, in the library's own prefix, where the components
# SdkStandins and SdkStandinsDevel put them.

include(CMakePackageConfigHelpers)

set(TAVIXQTBASE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/${TAVIXQTBASE_NAME})

install(TARGETS TavixQtBase
    EXPORT TavixQtBaseTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Devel)

install(EXPORT TavixQtBaseTargets
    NAMESPACE TavixQtBase::
    DESTINATION ${TAVIXQTBASE_CMAKE_DIR}
    COMPONENT Devel)

# The .pc file names the library's headers first, then the SDK's (in the same
# include directory when the stand-ins are installed beside the library).
if(TAVIXQTBASE_QT_MAJOR STREQUAL "6")
    set(TAVIXQTBASE_OTHER_QT_MAJOR 5)
    set(TAVIXQTBASE_OTHER_NAME TavixQtBase-qt5)
    set(TAVIXQTBASE_PC_CFLAGS "-I\${includedir}")
else()
    set(TAVIXQTBASE_OTHER_QT_MAJOR 6)
    set(TAVIXQTBASE_OTHER_NAME TavixQtBase)
    set(TAVIXQTBASE_PC_CFLAGS "-I\${prefix}/${TAVIXQTBASE_INCLUDE_ROOT} -I\${includedir}")
endif()
if(TAVIXQTBASE_BUILD_SDK_STANDINS)
    set(TAVIXQTBASE_SDK_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
    set(TAVIXQTBASE_PC_SDK_FLAGS "")
else()
    set(TAVIXQTBASE_SDK_INSTALL_PREFIX ${TAVIXQTBASE_SDK_PREFIX})
    if(NOT TAVIXQTBASE_SDK_INSTALL_PREFIX)
        get_filename_component(TAVIXQTBASE_SDK_INSTALL_PREFIX ${TavixSdk_TAVIX_INCLUDE_DIR} DIRECTORY)
    endif()
    # The program finds an SDK outside the system's library directories at run time too.
    foreach(sdk_libdir IN LISTS TavixSdk_LIBRARY_DIRS)
        string(APPEND TAVIXQTBASE_PC_SDK_FLAGS " -L${sdk_libdir}")
        if(NOT sdk_libdir IN_LIST CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
            string(APPEND TAVIXQTBASE_PC_SDK_FLAGS " -Wl,-rpath,${sdk_libdir}")
        endif()
    endforeach()
    list(TRANSFORM TavixSdk_INCLUDE_DIRS PREPEND -I OUTPUT_VARIABLE sdk_cflags)
    list(JOIN sdk_cflags " " sdk_cflags)
    string(APPEND TAVIXQTBASE_PC_CFLAGS " ${sdk_cflags}")
endif()
set(config_path_vars TAVIXQTBASE_SDK_INSTALL_PREFIX)
if(TAVIXQTBASE_BUILD_QML)
    list(APPEND config_path_vars TAVIXQTBASE_INSTALL_QMLDIR)
endif()
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TavixQtBaseConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/${TAVIXQTBASE_NAME}Config.cmake
    INSTALL_DESTINATION ${TAVIXQTBASE_CMAKE_DIR}
    PATH_VARS ${config_path_vars})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/${TAVIXQTBASE_NAME}ConfigVersion.cmake
    VERSION ${PROJECT_VERSION}
    COMPATIBILITY SameMajorVersion)
install(FILES
        ${CMAKE_CURRENT_BINARY_DIR}/${TAVIXQTBASE_NAME}Config.cmake
        ${CMAKE_CURRENT_BINARY_DIR}/${TAVIXQTBASE_NAME}ConfigVersion.cmake
        ${CMAKE_CURRENT_LIST_DIR}/FindTavixSdk.cmake
    DESTINATION ${TAVIXQTBASE_CMAKE_DIR}
    COMPONENT Devel)

# The .pc file names the prefix it is installed into, so that pkg-config
# recognises its system directories (/usr/include, /usr/lib/<triplet>) and
# leaves them out of the flags: the prefix is written in when the file is
# installed (cmake --install --prefix DIR writes DIR, CPack the packages'
# prefix), the rest when the build is configured. Outside the system's library
# directories its Libs carry the run path of the library directory, so that a
# program linked with them starts without LD_LIBRARY_PATH.
set(TAVIXQTBASE_PC_PREFIX "@TAVIXQTBASE_PC_PREFIX@")
set(TAVIXQTBASE_PC_RPATH "@TAVIXQTBASE_PC_RPATH@")
set(pc_configured ${CMAKE_CURRENT_BINARY_DIR}/${TAVIXQTBASE_NAME}.pc.in)
set(pc_installed ${CMAKE_CURRENT_BINARY_DIR}/${TAVIXQTBASE_NAME}.pc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/TavixQtBase.pc.in ${pc_configured} @ONLY)
install(CODE "set(pc_configured \"${pc_configured}\")
    set(pc_installed \"${pc_installed}\")
    set(pc_libdir \"${CMAKE_INSTALL_LIBDIR}\")
    set(system_libdirs \"${CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES}\")
    include(\"${CMAKE_CURRENT_LIST_DIR}/WritePcFile.cmake\")"
    COMPONENT Devel)
install(FILES ${pc_installed}
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT Devel)
