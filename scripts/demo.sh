#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs what is missing, builds the library and its examples for Qt 6, starts
# Aravis's simulated GigE Vision camera on the loopback interface of a private
# network namespace, where nothing reaches the host's network, and runs the
# camera monitor on it there. With a display it opens the window; without one it
# runs offscreen for the run time, writes a screenshot and prints what it
# measured.
#   scripts/demo.sh [--quick] [--cameras N] [camera monitor options]
#   scripts/demo.sh --compare [--run-time S] [--rounds N]
# Without options and without a display: 20 frames per second asked of the
# camera, 10 s, screenshot camera-monitor.png. --quick runs the Qt Quick monitor
# instead (screenshot camera-monitor-quick.png). With --cameras N (2 to 9) it runs
# N simulated cameras and the monitor streams from all of them, by default at 50
# frames per second each, and prints a result line per camera. With --compare it
# runs scripts/compare-monitors.sh: the monitor, shown and offscreen, beside
# Aravis's viewer and arv-camera-test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset qt6 >/dev/null
cmake --build --preset qt6

if [ "${1:-}" = --compare ]; then
    shift
    exec scripts/compare-monitors.sh build/qt6 "$@"
fi
monitor=camera-monitor
quick=()
if [ "${1:-}" = --quick ]; then
    monitor=camera-monitor-quick
    quick=(--quick)
    shift
fi
cameras=()
if [ "${1:-}" = --cameras ]; then
    cameras=(--cameras "${2:-}")
    shift 2 || true
fi
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    if [ ${#cameras[@]} -gt 0 ]; then
        set -- --frame-rate 50 --run-time 10 --screenshot "$monitor.png"
    else
        set -- --frame-rate 20 --run-time 10 --screenshot "$monitor.png"
    fi
fi
exec scripts/camera-monitor.sh build/qt6 "${quick[@]}" "${cameras[@]}" "$@"
