#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs the Debian 12 packages that building, testing and running the project
# need, and only those that are missing. Runs apt-get as root (directly, or
# through sudo).
set -euo pipefail

packages=(
    # build
    g++ cmake ninja-build pkg-config clang-format
    # the license check of every file, and the spelling check
    reuse codespell
    qt6-base-dev qtbase5-dev
    # the QML module (Qt 6): its build tools, qmllint, and the QML modules that
    # its Qt Quick tests, examples and linting import (Qt Quick Controls and
    # Layouts for the Qt Quick camera monitor)
    qt6-declarative-dev qt6-declarative-dev-tools qml6-module-qtqml qml6-module-qtqml-models
    qml6-module-qtqml-workerscript qml6-module-qtquick qml6-module-qtquick-window qml6-module-qttest
    qml6-module-qtquick-controls qml6-module-qtquick-layouts qml6-module-qtquick-templates
    # translations (lrelease and the CMake modules that run it) and the API
    # documentation (Doxygen, and qhelpgenerator for the Qt help file)
    qt6-l10n-tools qt6-tools-dev qttools5-dev qttools5-dev-tools
    doxygen qt6-documentation-tools
    # benchmarks and fuzzing
    libbenchmark-dev clang libclang-rt-14-dev
    # tests: a virtual X server for Qt 5's multi-screen tests and xprop to give
    # its screen a work area, the desktop's URL opener, unshare for private
    # mount namespaces, valgrind for memory errors inside Qt, which the
    # sanitizers cannot see
    xvfb xauth x11-utils xdg-utils util-linux valgrind
    # the camera monitor: GigE Vision through Aravis (whose pkg-config module
    # needs libusb's, which the package does not pull in), and its simulated camera
    libaravis-dev libusb-1.0-0-dev aravis-tools
    # the camera monitor's window-state test: a real window manager on Xvfb
    openbox
    # scripts/compare-monitors.sh: Aravis's viewer with the GStreamer elements
    # it shows video with, and xdotool, which starts its video and closes it
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-gtk3 xdotool
    # Python for the scripts and tests; Pillow reads the camera monitor's images,
    # PyQt6 (below) its settings files
    python3 python3-pil
    # the Python module for PyQt6: SIP's code generator, PyQt6 with its SIP
    # files, Python's headers, and pytest with its Qt plugin for its tests
    sip-tools python3-pyqt6 pyqt6-dev python3-dev python3-pytest python3-pytestqt
    # Debian packages of the library: the package checker, the ABI tools
    # (abidw, abidiff) that compare the library's interface with its baseline,
    # and mmdebstrap for the clean Debian root the packages are installed into
    lintian abigail-tools mmdebstrap
    # the 32-bit x86 build (presets qt6-i386 and qt5-i386): Debian's cross
    # compiler and the i386 multiarch Qt, whose code generators are the amd64
    # ones above; glibc's debugging symbols for valgrind on i386
    g++-i686-linux-gnu qt6-base-dev:i386 qtbase5-dev:i386 qt6-tools-dev:i386 qttools5-dev:i386
    libc6-dbg:i386
)

# The i386 packages come from the same archive, once dpkg knows the architecture.
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "All required packages are installed."
    exit 0
fi

echo "Installing: ${missing[*]}"
# Other package installs may hold dpkg's lock for a while: wait for it instead of failing.
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq ||
    echo "Some package indexes could not be fetched; installing from those that could."
install() {
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
        --no-install-recommends "$@" "${missing[@]}"
}
# A mirror whose security index lags for one architecture offers an amd64
# update without its i386 twin, and multiarch libraries must match in version:
# then take both from the point release.
if ! install; then
    echo "Retrying with the point release's versions, which both architectures have."
    install -t bookworm
fi
