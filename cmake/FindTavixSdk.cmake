# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Finds an installed camera SDK: the GenICam base library (GCBase_tavix_v5_0)
# and the camera SDK base library (tavixbase-5.0.1) with their headers, under
# TavixSdk_ROOT, TAVIXQTBASE_SDK_PREFIX or the usual places, and provides them
# as the imported targets TavixSdk::GCBase and TavixSdk::TavixBase, and their
# directories as TavixSdk_LIBRARY_DIRS and TavixSdk_INCLUDE_DIRS. The
# library's build uses it when the stand-ins are off, and its installed CMake
# package to find the SDK again for the application.

# The libraries lie in lib, or in Debian's multiarch directory lib/<triplet>.
set(sdk_lib_suffixes lib)
if(CMAKE_LIBRARY_ARCHITECTURE)
    list(PREPEND sdk_lib_suffixes lib/${CMAKE_LIBRARY_ARCHITECTURE})
endif()
find_path(TavixSdk_GENICAM_INCLUDE_DIR GenICam/GCBase.h HINTS ${TAVIXQTBASE_SDK_PREFIX} PATH_SUFFIXES include)
find_path(TavixSdk_TAVIX_INCLUDE_DIR tavix/TavixVersion.h HINTS ${TAVIXQTBASE_SDK_PREFIX} PATH_SUFFIXES include)
find_library(TavixSdk_GCBASE_LIBRARY GCBase_tavix_v5_0 HINTS ${TAVIXQTBASE_SDK_PREFIX} PATH_SUFFIXES ${sdk_lib_suffixes})
find_library(TavixSdk_TAVIXBASE_LIBRARY tavixbase-5.0.1 HINTS ${TAVIXQTBASE_SDK_PREFIX} PATH_SUFFIXES ${sdk_lib_suffixes})

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(TavixSdk
    REQUIRED_VARS
        TavixSdk_TAVIXBASE_LIBRARY TavixSdk_GCBASE_LIBRARY TavixSdk_TAVIX_INCLUDE_DIR TavixSdk_GENICAM_INCLUDE_DIR
    REASON_FAILURE_MESSAGE
        "the camera SDK is neither in '${TAVIXQTBASE_SDK_PREFIX}' nor in the usual places: install it, or the \
SDK stand-ins (a plain cmake --install of a build with the stand-ins installs them with the library), or set \
TavixSdk_ROOT to its prefix (TAVIXQTBASE_SDK_PREFIX when building the library)")

if(NOT TavixSdk_FOUND)
    return()
endif()
get_filename_component(gcbase_dir ${TavixSdk_GCBASE_LIBRARY} DIRECTORY)
get_filename_component(tavixbase_dir ${TavixSdk_TAVIXBASE_LIBRARY} DIRECTORY)
set(TavixSdk_LIBRARY_DIRS ${tavixbase_dir} ${gcbase_dir})
set(TavixSdk_INCLUDE_DIRS ${TavixSdk_TAVIX_INCLUDE_DIR} ${TavixSdk_GENICAM_INCLUDE_DIR})
list(REMOVE_DUPLICATES TavixSdk_LIBRARY_DIRS)
list(REMOVE_DUPLICATES TavixSdk_INCLUDE_DIRS)

if(NOT TARGET TavixSdk::TavixBase)
    add_library(TavixSdk::GCBase SHARED IMPORTED)
    set_target_properties(TavixSdk::GCBase PROPERTIES
        IMPORTED_LOCATION ${TavixSdk_GCBASE_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${TavixSdk_GENICAM_INCLUDE_DIR})
    add_library(TavixSdk::TavixBase SHARED IMPORTED)
    set_target_properties(TavixSdk::TavixBase PROPERTIES
        IMPORTED_LOCATION ${TavixSdk_TAVIXBASE_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${TavixSdk_TAVIX_INCLUDE_DIR}
        INTERFACE_LINK_LIBRARIES TavixSdk::GCBase)
endif()
