#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Runs the camera monitor on Aravis's simulated GigE Vision camera.
#
# Usage: scripts/camera-monitor.sh BUILD_DIR [--quick] [--cameras N] [monitor options...]
#   e.g. scripts/camera-monitor.sh build/qt6 --frame-rate 20 --run-time 10 --screenshot monitor.png
#
# In a private network namespace (scripts/private-network.sh), where the
# monitor's discovery reaches no interface of the host, starts the simulated
# camera on the loopback interface (unless one answers there already), waits
# until it answers discovery, runs the monitor from BUILD_DIR (with --quick the
# Qt Quick one) with the given options and stops the camera again on every way
# out.
# With --cameras N (2 to 9) it starts N simulated cameras at 127.0.0.2 and on,
# addresses that the namespace's loopback interface takes, and the monitor
# streams from all of them. Without a display the monitor runs offscreen (see
# its --help). The exit code is the monitor's: 0 when frames arrived; 77 when
# no private network namespace can be made.
set -euo pipefail

if [[ $# -lt 1 || $1 == -h || $1 == --help ]]; then
    sed -n '7,22s/^# \{0,1\}//p' "$0"
    exit 2
fi
if [[ ${TAVIX_PRIVATE_NETWORK:-} != "$(readlink /proc/self/ns/net)" ]]; then
    exec "$(dirname "$0")/private-network.sh" "$0" "$@"
fi
build_dir=$1
shift
# The Qt 5 build names its monitor camera-monitor-qt5; the Qt Quick monitor is built with Qt 6 only.
monitor=$(ls "$build_dir"/examples/camera-monitor/camera-monitor{,-qt5} 2>/dev/null | head -n 1 || true)
if [[ ${1:-} == --quick ]]; then
    monitor=$build_dir/examples/camera-monitor-quick/camera-monitor-quick
    shift
fi
cameras=1
if [[ ${1:-} == --cameras ]]; then
    cameras=${2:-}
    shift 2 || true
    if [[ ! $cameras =~ ^[1-9]$ ]]; then
        echo "camera-monitor.sh: --cameras needs a number from 1 to 9" >&2
        exit 2
    fi
fi
camera_addresses=(127.0.0.1)

if [[ ! -x $monitor ]]; then
    echo "camera-monitor.sh: no camera monitor in $build_dir/examples; build $build_dir with Aravis (libaravis-dev) installed" >&2
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

if [[ $cameras -gt 1 ]]; then
    camera_addresses=()
    for i in $(seq 2 $((cameras + 1))); do
        ip addr add "127.0.0.$i/8" dev lo
        camera_addresses+=("127.0.0.$i")
    done
    set -- --all-cameras "$@"
fi

camera_pids=()
stop_cameras() {
    for pid in "${camera_pids[@]}"; do
        kill -TERM -- "-$pid" 2> /dev/null || true
        wait "$pid" 2> /dev/null || true
    done
    camera_pids=()
}
trap stop_cameras EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

for address in "${camera_addresses[@]}"; do
    if camera_answers "$address" 0.5; then
        echo "camera-monitor.sh: a camera already answers at $address; using it"
        continue
    fi
    # In a process group of its own, so that stopping it reaches every process it started;
    # a serial number of its own, so that Aravis tells the cameras apart.
    setsid arv-fake-gv-camera-0.8 -i "$address" -s "GV${address##*.}" &
    camera_pid=$!
    camera_pids+=("$camera_pid")
    for _ in $(seq 1 40); do
        camera_answers "$address" 0.25 && break
        if ! kill -0 "$camera_pid" 2> /dev/null; then
            echo "camera-monitor.sh: the simulated camera at $address exited at start" >&2
            exit 1
        fi
    done
    if ! camera_answers "$address" 1; then
        echo "camera-monitor.sh: the simulated camera does not answer at $address" >&2
        exit 1
    fi
    echo "camera-monitor.sh: simulated camera running at $address (pid $camera_pid)"
done

status=0
"$monitor" "$@" || status=$?
exit "$status"
