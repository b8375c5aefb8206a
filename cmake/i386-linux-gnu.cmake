# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Builds for 32-bit x86 Linux with Debian's cross compiler (g++-i686-linux-gnu)
# against the i386 multiarch packages (qt6-base-dev:i386, qtbase5-dev:i386),
# running the amd64 Qt's code generators (moc, rcc, uic). The binaries run
# natively on an amd64 machine, so the tests run as they are.
#   cmake --preset qt6-i386   (or qt5-i386), or -DCMAKE_TOOLCHAIN_FILE=cmake/i386-linux-gnu.cmake

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
# pkg-config finds the i386 modules only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig)

# The same results as on amd64: SSE2 arithmetic rounds every double once, where
# the x87 unit's extended precision rounds it twice; a 64-bit time_t lets the
# real-time clock pass 2038 (glibc 2.34 and later). No public header reads
# the clock or holds a time_t, so applications built against the library need
# not take these flags; everything built with this file gets them.
set(TAVIXQTBASE_I386_FLAGS "-msse2 -mfpmath=sse -D_TIME_BITS=64 -D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "${TAVIXQTBASE_I386_FLAGS}")
set(CMAKE_C_FLAGS_INIT "${TAVIXQTBASE_I386_FLAGS}")

# The Debian packages are for i386 (CPack would take the build machine's).
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE i386)

# Programs (the Qt tools) are the build machine's; libraries and packages are
# found in the i386 multiarch directories named above.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# The Qt 6 packages look for the code generators through the host's Qt.
set(QT_HOST_PATH /usr CACHE PATH "Prefix of the Qt whose tools run on the build machine")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "CMake directory of that Qt")
