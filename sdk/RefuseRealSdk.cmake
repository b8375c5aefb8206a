# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Install scripts run without the project's policies.
cmake_policy(VERSION 3.25)

# Run at install time, before the stand-ins' files: a prefix whose SDK header
# sdk_header (relative to the prefix) exists and is not the stand-ins' own
# standin_header holds a real SDK, which the stand-ins must not overwrite.

set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
if(EXISTS "${prefix}/${sdk_header}")
    file(SHA256 "${prefix}/${sdk_header}" installed_hash)
    file(SHA256 "${standin_header}" standin_hash)
    if(NOT installed_hash STREQUAL standin_hash)
        message(FATAL_ERROR "${prefix} holds a camera SDK, which the SDK stand-ins would overwrite: "
            "build the library against it (-DTAVIXQTBASE_BUILD_SDK_STANDINS=OFF -DTAVIXQTBASE_SDK_PREFIX=${prefix}) "
            "or install into another prefix.")
    endif()
endif()
