#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs what is missing, builds the library and its examples for Qt 6, starts
# Aravis's simulated GigE Vision camera on the loopback interface and runs the
# camera monitor on it. With a display it opens the window; without one it runs
# offscreen for the run time, writes a screenshot and prints what it measured.
#   scripts/demo.sh [camera monitor options]
# Without options and without a display: 20 frames per second asked of the
# camera, 10 s, screenshot camera-monitor.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset qt6 >/dev/null
cmake --build --preset qt6

if [ $# -eq 0 ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    set -- --frame-rate 20 --run-time 10 --screenshot camera-monitor.png
fi
exec scripts/camera-monitor.sh build/qt6 "$@"
