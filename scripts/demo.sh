#!/usr/bin/env bash
# Installs what is missing, builds the library and its examples for Qt 6, and
# runs the demo.
#   scripts/demo.sh [demo options]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset qt6 >/dev/null
cmake --build --preset qt6

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=offscreen
fi
build/qt6/examples/report-from-thread/report-from-thread "$@"
