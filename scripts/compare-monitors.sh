#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Compares the camera monitor with Aravis's own programs on one simulated camera.
#
# Usage: scripts/compare-monitors.sh [BUILD_DIR] [--run-time S] [--rounds N]
#
# In a private network namespace, on one simulated camera, runs each program of
# the table below in turn for the same time (default 20 s): the monitor with its
# window shown, arv-viewer-0.8 shown and streaming, the monitor offscreen,
# arv-camera-test-0.8 and, where built, the Qt Quick monitor shown and
# offscreen; at 512 x 512 at 30 fps, at the camera's highest rate (1000 fps
# asked: as fast as the machine lets it send) and at its full sensor size of
# 2048 x 2048 at its highest rate. Prints the machine's load, then a line per
# size and program: frames received, frames incomplete or missing, and the
# program's CPU time (user + system) per received frame. With --rounds N it runs
# the programs of each size N times in turn and ends with the median CPU time
# per frame of each size and program: one run's time moves by a fifth between
# runs. Without a display it starts Xvfb with openbox. Exits with 77 when
# arv-viewer-0.8, xdotool, a display or a private network namespace cannot be
# had.
set -euo pipefail

build_dir=build/qt6
run_time=20
rounds=1
while [[ $# -gt 0 ]]; do
    case $1 in
        --run-time) run_time=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        -h | --help) sed -n '7,24s/^# \{0,1\}//p' "$0"; exit 0 ;;
        *) build_dir=$1; shift ;;
    esac
done
[[ $rounds =~ ^[1-9][0-9]*$ ]] || { echo "compare-monitors.sh: --rounds needs a whole number above 0" >&2; exit 2; }
monitor=$(realpath "$build_dir/examples/camera-monitor/camera-monitor")
quick_monitor=$build_dir/examples/camera-monitor-quick/camera-monitor-quick
camera=127.0.0.1
# Each size: width, height and the frame rate asked.
sizes=("512 512 30" "512 512 1000" "2048 2048 1000")

skip() {
    echo "compare-monitors.sh: skipped: $1" >&2
    exit 77
}

for tool in arv-fake-gv-camera-0.8 arv-camera-test-0.8 arv-viewer-0.8 xdotool; do
    command -v "$tool" > /dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done
[[ -x $monitor ]] || { echo "compare-monitors.sh: no camera monitor in $build_dir" >&2; exit 2; }

if [[ ${TAVIX_PRIVATE_NETWORK:-} != "$(readlink /proc/self/ns/net)" ]]; then
    # A camera of its own, whatever else answers on the host's loopback interface.
    exec "$(dirname "$0")/private-network.sh" "$0" "$build_dir" --run-time "$run_time" --rounds "$rounds"
fi

work=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do
        kill -TERM -- "-$pid" 2> /dev/null || true
    done
    wait 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a command in a process group of its own, stopped on every way out.
start() {
    setsid "$@" > /dev/null 2>&1 &
    started+=($!)
}

if [[ -z ${DISPLAY:-} ]]; then
    { command -v Xvfb && command -v openbox; } > /dev/null || skip "no display, and no Xvfb with openbox"
    exec {display_fd}<> <(:)
    start Xvfb -displayfd "$display_fd" -screen 0 1600x1000x24 -nolisten tcp
    read -r -t 20 -u "$display_fd" display_number || skip "Xvfb did not start"
    export DISPLAY=:$display_number
    start openbox
    sleep 1.5 # until openbox manages new windows
fi

start arv-fake-gv-camera-0.8 -i "$camera"
export XDG_CONFIG_HOME=$work/config # the monitor remembers no camera's settings from earlier runs

# Sets the camera's frame size and rate, which it keeps for the programs after: arv-camera-test can set them.
set_up_camera() {
    for _ in $(seq 1 20); do
        arv-camera-test-0.8 -n "$camera" -w "$1" -h "$2" -f "$3" --duration 1 > /dev/null 2>&1 && return
        sleep 0.5
    done
    echo "compare-monitors.sh: the simulated camera does not answer" >&2
    exit 1
}

# The window of arv-viewer-0.8 once it shows, or nothing after 20 s (it needs GStreamer's video elements).
viewer_window() {
    timeout 20 xdotool search --sync --onlyvisible --name "Aravis Viewer" | head -n 1
}

# arv-viewer-0.8 shown for the run time: picks the simulated GigE Vision camera, the second row of its list
# under Aravis's own fake camera, presses its play button, and closes the window at the end, whereupon Aravis
# prints the stream's statistics.
run_viewer() {
    ARV_DEBUG=stream:2 arv-viewer-0.8 &
    local viewer=$! window
    window=$(viewer_window)
    sleep 2 # until the list holds both cameras
    xdotool mousemove --window "$window" 150 117 click 1
    sleep 1
    xdotool mousemove --window "$window" 78 277 click 1
    sleep "$run_time"
    # Alt+F4 asks openbox to close the window; a viewer that does not close is killed, without its statistics.
    timeout 10 xdotool windowactivate --sync "$window" key alt+F4 || true
    timeout 10 tail --pid="$viewer" -f /dev/null || kill "$viewer"
    wait "$viewer" || true
}

# The last number after "NAME =" or "NAME=" in a log; 0 without one.
figure() {
    grep -oE "$1 *= *[0-9]+" "$2" | tail -n 1 | grep -oE '[0-9]+$' || echo 0
}

# Runs one program's command line (the words after its name) on the camera as set up and prints its figures.
# The monitor prints its own; for Aravis's programs incomplete or missing frames are the stream's failures and
# gaps in the frame ids (a gap counts once, however many frames it spans), and frames without a free buffer
# are given in packets, as Aravis counts them. The CPU time is the kernel's account of the waited-for command.
run_program() {
    local name=$1 log=$work/$1.log frames lost cpu
    shift
    cpu=$( { TIMEFORMAT='%3U %3S'; time "$@" > "$log" 2>&1; } 2>&1 | tail -n 1) || true
    if grep -q '^result:' "$log"; then
        frames=$(figure images "$log")
        lost="$(figure errors "$log")"
    else
        frames=$(figure n_completed_buffers "$log")
        lost="$(($(figure n_failures "$log") + $(figure n_missing_frames "$log"))) underrun_packets=$(figure n_underruns "$log")"
    fi
    awk -v size="$size" -v name="$name" -v frames="$frames" -v lost="$lost" -v cpu="$cpu" 'BEGIN {
        split(cpu, t, " ")
        per_frame = frames > 0 ? sprintf("%.3f", 1000 * (t[1] + t[2]) / frames) : "-"
        printf "%-16s %-22s frames=%-6d incomplete_or_missing=%s cpu_ms_per_frame=%s\n", size, name, frames, lost,
            per_frame
    }'
}

# The programs compared, a name and a command line (split at spaces) each; another row compares another program.
programs=(
    "monitor-window" "env QT_QPA_PLATFORM=xcb $monitor --camera $camera --run-time $run_time"
    "arv-viewer-window" "run_viewer"
    "monitor-offscreen" "$monitor --camera $camera --run-time $run_time --offscreen"
    "arv-camera-test" "arv-camera-test-0.8 -n $camera --duration $run_time"
)
# The Qt Quick monitor where it is built (Qt 6 only), with the same options.
if [[ -x $quick_monitor ]]; then
    quick_monitor=$(realpath "$quick_monitor")
    programs+=(
        "quick-window" "env QT_QPA_PLATFORM=xcb $quick_monitor --camera $camera --run-time $run_time"
        "quick-offscreen" "$quick_monitor --camera $camera --run-time $run_time --offscreen"
    )
fi

cd "$work"
arv-viewer-0.8 > /dev/null 2>&1 &
[[ -n $(viewer_window) ]] || skip "arv-viewer-0.8 shows no window; are GStreamer's video elements installed?"
kill $!
wait $! 2> /dev/null || true
echo "load before: $(cut -d ' ' -f 1-3 /proc/loadavg) on $(nproc) cores; $run_time s each"
for setting in "${sizes[@]}"; do
    read -r width height rate <<< "$setting"
    size="${width}x${height}@${rate}"
    set_up_camera "$width" "$height" "$rate"
    for ((round = 0; round < rounds; ++round)); do
        for ((i = 0; i < ${#programs[@]}; i += 2)); do
            # shellcheck disable=SC2086 # the command line is split into its words
            run_program "${programs[i]}" ${programs[i + 1]} | tee -a "$work/figures"
        done
    done
done
echo "load after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
if ((rounds > 1)); then
    # The median of each size and program's CPU times per frame, in the order of their first lines.
    awk -v rounds="$rounds" '{
        key = sprintf("%-16s %-22s", $1, $2)
        if (!(key in count)) order[++keys] = key
        if (match($0, /cpu_ms_per_frame=[0-9.]+/)) times[key, ++count[key]] = substr($0, RSTART + 17, RLENGTH - 17)
    } END {
        for (k = 1; k <= keys; ++k) {
            key = order[k]; n = count[key]; list = ""
            for (i = 1; i <= n; ++i) { sorted[i] = times[key, i] + 0; list = list " " times[key, i] }
            for (i = 2; i <= n; ++i) for (j = i; j > 1 && sorted[j - 1] > sorted[j]; --j) {
                swap = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = swap
            }
            median = n == 0 ? "-" : sprintf("%.3f", n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2)
            printf "%s median_cpu_ms_per_frame=%s of%s\n", key, median, list
        }
    }' "$work/figures"
fi
