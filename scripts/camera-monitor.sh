#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Runs the camera monitor on Aravis's simulated GigE Vision camera.
#
# Usage: scripts/camera-monitor.sh BUILD_DIR [monitor options...]
#   e.g. scripts/camera-monitor.sh build/qt6 --frame-rate 20 --run-time 10 --screenshot monitor.png
#
# Starts the simulated camera on the loopback interface (unless a camera already
# answers there), waits until it answers discovery, runs the monitor from
# BUILD_DIR with the given options and stops the camera again on every way out.
# Without a display the monitor runs offscreen (see its --help). The exit code is
# the monitor's: 0 when frames arrived.
set -euo pipefail

if [[ $# -lt 1 || $1 == -h || $1 == --help ]]; then
    sed -n '7,16s/^# \{0,1\}//p' "$0"
    exit 2
fi
build_dir=$1
shift
monitor=$build_dir/examples/camera-monitor/camera-monitor
camera_address=127.0.0.1

if [[ ! -x $monitor ]]; then
    echo "camera-monitor.sh: $monitor not found; build $build_dir with Aravis (libaravis-dev) installed" >&2
    exit 2
fi
if ! command -v arv-fake-gv-camera-0.8 > /dev/null; then
    echo "camera-monitor.sh: arv-fake-gv-camera-0.8 not found; install aravis-tools" >&2
    exit 2
fi

# True when a GigE Vision device at $1 answers a discovery command within $2 seconds.
camera_answers() {
    python3 - "$1" "$2" << 'PYTHON'
import socket, sys
probe = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
probe.settimeout(float(sys.argv[2]))
# GVCP DISCOVERY_CMD (0x0002) with "acknowledge required", request id 1; the answer is DISCOVERY_ACK (0x0003).
probe.sendto(bytes([0x42, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01]), (sys.argv[1], 3956))
try:
    answer, _ = probe.recvfrom(1024)
except OSError:
    sys.exit(1)
sys.exit(0 if answer[2:4] == b"\x00\x03" else 1)
PYTHON
}

camera_pid=
stop_camera() {
    if [[ -n $camera_pid ]]; then
        kill -TERM -- "-$camera_pid" 2> /dev/null || true
        wait "$camera_pid" 2> /dev/null || true
        camera_pid=
    fi
}
trap stop_camera EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if camera_answers "$camera_address" 0.5; then
    echo "camera-monitor.sh: a camera already answers at $camera_address; using it"
else
    # In a process group of its own, so that stopping it reaches every process it started.
    setsid arv-fake-gv-camera-0.8 -i "$camera_address" &
    camera_pid=$!
    for _ in $(seq 1 40); do
        camera_answers "$camera_address" 0.25 && break
        if ! kill -0 "$camera_pid" 2> /dev/null; then
            echo "camera-monitor.sh: the simulated camera exited at start" >&2
            exit 1
        fi
    done
    if ! camera_answers "$camera_address" 1; then
        echo "camera-monitor.sh: the simulated camera does not answer at $camera_address" >&2
        exit 1
    fi
    echo "camera-monitor.sh: simulated camera running at $camera_address (pid $camera_pid)"
fi

status=0
"$monitor" "$@" || status=$?
exit "$status"
