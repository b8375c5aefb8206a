#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""End-to-end and fault cases of the camera monitor against Aravis's simulated camera.

Each case runs in a private network namespace of its own, starts its own
simulated camera on the loopback interface and the monitor offscreen
(harness.py), and stops every process it started on every way out. A busy
machine slows the camera and the monitor alike, so a shown rate is checked
against the frames the monitor received over the same interval, with the
camera's configured rate only as an upper bound; a check that the run gives too
little to make honestly is reported and the case ends as skipped.

The case hostile-cameras runs against the scripted broken cameras of
hostile_camera.py, cameras and frame-loss-cameras against four simulated
cameras on further loopback addresses; script runs scripts/camera-monitor.sh.

Usage: camera_e2e.py --monitor BIN --fake-camera BIN --work-dir DIR CASE [--fps N]
"""

import functools
import json
import os
import re
import shlex
import socket
import statistics
import struct
import subprocess
import sys
import time
from pathlib import Path

from PyQt6.QtCore import QByteArray, QPoint, QSettings, QSize

from harness import (CAMERA_ADDRESS, SCRIPTS, SKIPPED, Monitor, check, check_screenshot_shows_window, gvcp_command,
                     machine_busy, network_namespace, quick_monitor, read_png, remove, run, settings_file, skip_check,
                     start_camera, start_display, stop_camera)
from hostile_camera import HostileCameras

STALL_LIMIT = 10.5  # seconds after the last frame when the frame-rate statistic reads zero
STATISTIC_WINDOW = 100  # the frames over which the monitor's statistic computes its rate (StreamFigures)
# How far the shown rate may be from the rate received over the same interval (the figure lines give their
# times to the millisecond).
RATE_TOLERANCE = 0.05
MIN_RATE_READINGS = 3


def check_unless_busy(condition, message):
    """A check that a machine busy with other work can fail, which delays any program's timers: skipped there."""
    if not condition and machine_busy():
        skip_check("%s, on a machine busy with other work (load %.1f on %d cores)"
                   % (message, os.getloadavg()[0], os.cpu_count()))
    else:
        check(condition, message)


def wait_for_frames(monitor, timeout, lines=1):
    """Until LINES figure lines have shown a frame rate."""
    monitor.wait_until(lambda: sum(f["fps"] > 0 for f in monitor.figures()) >= lines, timeout,
                       "the monitor shows a frame rate")


def images_at(lines, time):
    """The monitor's image count at `time`, interpolated between its figure lines; None outside them."""
    for earlier, later in zip(lines, lines[1:]):
        if earlier["t"] <= time <= later["t"] and later["t"] > earlier["t"]:
            share = (time - earlier["t"]) / (later["t"] - earlier["t"])
            return earlier["images"] + share * (later["images"] - earlier["images"])
    return None


def rate_readings(lines, since):
    """Pairs of the rate a figure line shows and the rate received over the same interval before it.

    The statistic computes its rate from its newest STATISTIC_WINDOW frames; if the shown rate is right, they
    span (STATISTIC_WINDOW - 1) / rate seconds before the line, and the image counts of the lines tell how many
    frames really arrived in that span, however a busy machine slowed the camera. Lines whose window is not
    full yet, or reaches back before `since` (a change of the stream), are left out.
    """
    readings = []
    for line in lines:
        if line["fps"] <= 0 or line["images"] < STATISTIC_WINDOW:
            continue
        start = line["t"] - (STATISTIC_WINDOW - 1) / line["fps"]
        before = images_at(lines, start)
        if start >= since and before is not None:
            readings.append((line["fps"], (line["images"] - before) / (line["t"] - start)))
    return readings


def check_shown_rate(monitor, lines, configured, what, since=0.0):
    """The shown rate in the monitor's figure lines matches the frames received over the same interval; the
    configured rate bounds it."""
    readings = rate_readings(lines, since)
    if len(readings) < MIN_RATE_READINGS:
        skip_check("%s: %d figure lines with a whole statistic window, too few to compare the shown rate with "
                   "the frames received; the camera streamed too slowly" % (what, len(readings)))
        return
    ratio = statistics.median(shown / received for shown, received in readings)
    shown = statistics.median(shown for shown, _ in readings)
    print("%s: shows %.3f fps, %.3f times the rate received over the same interval" % (what, shown, ratio))
    monitor.check(abs(ratio - 1) <= RATE_TOLERANCE, "%s shows %.3f times the rate received over the same interval "
                  "(shown, received): %s" % (what, ratio, readings))
    monitor.check(shown <= configured * (1 + RATE_TOLERANCE), "%s shows %.3f fps, more than the camera's %g fps"
                  % (what, shown, configured))


def case_rate(args, processes):
    """The shown rates match the frames received; the chart holds the same readings, one per second."""
    start_camera(args, processes)
    run_time = 12
    monitor = Monitor(args, processes, ["--frame-rate", str(args.fps), "--run-time", str(run_time)])
    texts = monitor.succeed()
    figures = monitor.figures()
    check_shown_rate(monitor, figures, args.fps, "the monitor")
    final = monitor.result()
    shown = [f for f in figures if f["fps"] > 0]
    monitor.check(shown, "the monitor showed no rate")
    expected_bytes = statistics.median(f["fps"] for f in shown) * final["width"] * final["height"]
    shown_bytes = statistics.median(f["bytes_per_second"] for f in shown)
    monitor.check(abs(shown_bytes - expected_bytes) <= RATE_TOLERANCE * expected_bytes, "data rate %d B/s does not "
                  "match the frame rate of %dx%d Mono8 frames" % (shown_bytes, final["width"], final["height"]))
    check(0 < final["images"] <= args.fps * run_time, "%d images in %d s at %g fps"
          % (final["images"], run_time, args.fps))
    check_screenshot_shows_window(monitor.screenshot)
    chart = texts["chart"]
    # The window's figures show the reading the result line printed, there to two decimals, here to three.
    shown_rate = re.fullmatch(r"([\d.]+) fps", texts["labels"]["Frame rate:"])
    check(shown_rate and abs(float(shown_rate.group(1)) - final["fps"]) <= 0.0051, "the window shows the frame "
          "rate %r, the result line %g fps" % (texts["labels"]["Frame rate:"], final["fps"]))
    times = [point[0] for point in chart]
    check(len(chart) == len(figures) and times == sorted(set(times)),
          "the chart does not hold one point per figure line: %d points, %d lines, times %s"
          % (len(chart), len(figures), times))
    # The chart and the figure lines show the same reading of each second.
    monitor.check(all(abs(point[1] - line["fps"]) < 0.001 for point, line in zip(chart, figures)),
                  "the chart shows other rates than the figure lines: %s" % chart)


def case_camera_killed(args, processes):
    """A camera that dies while streaming is reported once; the monitor goes on, its rate falls to zero at the stall
    limit, and the camera, back, streams again in the same run."""
    camera = start_camera(args, processes)
    monitor = Monitor(args, processes, ["--frame-rate", "50", "--run-time", "40", "--retry-interval", "1"])
    # The chart's first second of frames marks the start; those after it are plain.
    wait_for_frames(monitor, timeout=10, lines=3)
    stop_camera(processes, camera)

    def since_last_frame():
        """The figure lines, the time of the last frame and the lines a second and more after the stall limit."""
        figures = monitor.figures()
        last_frame_time = min(f["t"] for f in figures if f["images"] == figures[-1]["images"])
        return figures, last_frame_time, [f for f in figures if f["t"] >= last_frame_time + STALL_LIMIT + 1.0]
    monitor.wait_until(lambda: len(since_last_frame()[2]) >= 2, 40, "the monitor's figures pass the stall limit")
    figures, last_frame_time, after_stall = since_last_frame()
    monitor.check(after_stall and all(f["fps"] == 0 and f["bytes_per_second"] == 0 for f in after_stall),
                  "the rate did not fall to zero after the stall limit")
    before_stall = [f for f in figures if last_frame_time + 1.0 <= f["t"] < last_frame_time + STALL_LIMIT - 1.0]
    monitor.check(before_stall and all(f["fps"] > 0 for f in before_stall),
                  "the rate fell to zero before the stall limit")
    start_camera(args, processes)
    monitor.wait_until(lambda: monitor.streaming_count() >= 2, 20, "the monitor streams from the restarted camera")
    chart = monitor.succeed()["chart"]
    result = monitor.result()
    monitor.check(monitor.streaming_count() == 2 and result["fps"] > 0 and result["images"] > 0,
                  "expected frames from a second connection")
    monitor.check(len(monitor.reports("Lost the connection")) == 1, "expected one report of the lost connection")
    check(result["reports"] >= 1, "the window received no report")
    # Per second of the chart: r a restart, s a stall, - frames.
    marks = "".join("r" if point[3] else "s" if point[4] else "-" for point in chart)
    check(re.search("-s{5,}r-", marks), "the chart does not show the stall and the restart: %s" % marks)


def case_no_camera(args, processes):
    """Without any camera the monitor says so once, keeps retrying quietly and exits with 1."""
    monitor = Monitor(args, processes, ["--camera", CAMERA_ADDRESS, "--run-time", "6", "--retry-interval", "1"])
    status = monitor.finish(timeout=60)
    monitor.check(status == 1, "expected exit code 1 (no frame), got %d" % status)
    monitor.check(len(monitor.reports('No camera "%s" found' % CAMERA_ADDRESS)) == 1,
                  "expected one report of the missing camera")
    result = monitor.result()
    check(result["images"] == 0 and result["fps"] == 0, "figures without a camera: %s" % result)
    check_screenshot_shows_window(monitor.screenshot)


def case_script(args, processes):
    """scripts/camera-monitor.sh makes a private network namespace of its own, with no interface but its loopback
    one, and runs the simulated camera and the monitor in it."""
    build_dir = os.path.join(args.work_dir, "build")
    monitor = os.path.join(build_dir, "examples", "camera-monitor", "camera-monitor")
    os.makedirs(os.path.dirname(monitor), exist_ok=True)
    # A wrapper that tells where the monitor runs, then runs it.
    Path(monitor).write_text('#!/bin/sh\necho "namespace: $(readlink /proc/self/ns/net)"\n'
                             'echo "interfaces:" $(tail -n +3 /proc/self/net/dev | cut -d: -f1)\nexec %s "$@"\n'
                             % shlex.quote(args.monitor))
    os.chmod(monitor, 0o755)
    # Started as from a shell of the host, which runs in no namespace of private-network.sh.
    environment = {name: value for name, value in os.environ.items() if name != "TAVIX_PRIVATE_NETWORK"}
    script = processes.start([os.path.join(SCRIPTS, "camera-monitor.sh"), build_dir, "--run-time", "6", "--offscreen"],
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, env=environment)
    output = script.communicate(timeout=120)[0]
    check(script.returncode == 0, "the script exited with %d:\n%s" % (script.returncode, output))
    seen = dict(re.findall(r"^(namespace|interfaces): (.*)$", output, re.M))
    check(seen.get("namespace") not in (None, network_namespace()) and seen.get("interfaces") == "lo",
          "the monitor ran in the network namespace of the test, or beside other interfaces than lo:\n%s" % output)


def case_lossy_camera(args, processes):
    """A stream that loses packets all the time yields a few summaries, not a report per frame."""
    start_camera(args, processes, ["--gvsp-lost-ratio=5"])  # 0.5 % of the packets: most frames lose one
    run_time = 10
    monitor = Monitor(args, processes, ["--frame-rate", "50", "--run-time", str(run_time)])
    monitor.succeed()
    result = monitor.result()
    monitor.check(result["errors"] >= 50, "expected many bad frames, got %d" % result["errors"])
    warnings = monitor.reports("Warning: camera-monitor: ")
    # One report per kind at the first fault, then at most one summary per kind every two seconds.
    monitor.check(0 < len(warnings) <= 2 * (run_time // 2 + 1), "%d reports for %d bad frames"
                  % (len(warnings), result["errors"]))
    # A report sent in the last moment may still be on its way to the window.
    check(len(warnings) - 1 <= result["reports"] <= len(warnings), "the window received %d of %d reports"
          % (result["reports"], len(warnings)))
    times = [f["t"] for f in monitor.figures()]
    check_unless_busy(all(later - earlier < 2.0 for earlier, later in zip(times, times[1:])),
                      "the window stalled; figure lines at %s" % times)


FOREIGN_PACKETS = 10
STREAM_PORT_REGISTER = 0x0D00  # the first stream channel's destination port, in the register's low half


def case_foreign_packets(args, processes):
    """Packets that start no frame Aravis can receive, sent to the stream's port, count neither as frames nor as
    lost frames: Aravis hands such a packet's buffer back untouched, with the frame id of a frame seen before."""
    start_camera(args, processes)
    monitor = Monitor(args, processes, ["--run-time", "8"])
    wait_for_frames(monitor, timeout=8)
    port = int.from_bytes(gvcp_command(0x0080, struct.pack(">I", STREAM_PORT_REGISTER))[10:12], "big")  # READREG
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        sender.bind((CAMERA_ADDRESS, 0))  # a packet socket takes stream packets from the camera's address only
        for block in range(20000, 20000 + FOREIGN_PACKETS):
            # A leader (format 1, packet 0) of raw data (payload type 2), ahead of the camera's frame ids.
            sender.sendto(struct.pack(">HHIHHQ", 0, block, 0x01000000, 0, 2, 0), (CAMERA_ADDRESS, port))
            time.sleep(0.2)  # frames arrive in between, so a buffer taken for a frame id gone back would show
    monitor.succeed()
    errors = monitor.result()["errors"]
    monitor.check(errors < FOREIGN_PACKETS, "%d packets gave %d lost or incomplete frames" % (FOREIGN_PACKETS, errors))
    monitor.check(monitor.reports("starts no frame"), "no report of the ignored packets")


GERMAN = {"LANG": "de_DE.UTF-8"}  # for the monitor itself; needs no German locale of the C library
# The figures of a first start, by caption, as patterns.
ENGLISH_LABELS = {"Frame size:": "512 \u00d7 512 pixels, .+ per frame"}
GERMAN_LABELS = {"Status:": "Erfassung l\u00e4uft", "Bildgr\u00f6\u00dfe:": "512 \u00d7 512 Pixel, .+ pro Bild",
                 "Z\u00e4hler:": r"Bilder: [\d.]+; Fehler: \d+"}
# Each first start: the monitor's environment, the figures it shows, and whether the window is checked to cut none
# of its texts at its default size.
FIRST_STARTS = {
    "german": (GERMAN, GERMAN_LABELS, False),
    "readable": ({}, ENGLISH_LABELS, True),
    "readable-german": (GERMAN, GERMAN_LABELS, True),
    "readable-scaled": ({"QT_SCALE_FACTOR": "2"}, ENGLISH_LABELS, True),
}
SCALED_SCREEN = {"name": "uhd", "x": 0, "y": 0, "width": 3840, "height": 2160}


def first_start_case(args, processes, start):
    """At first start the window shows its figures in the language of the locale (the monitor's own texts and the
    library's); whole: at its default size the window shows every figure, table column and setting whole."""
    env, labels, whole = start
    env = dict(os.environ, **env)
    if "QT_SCALE_FACTOR" in env:
        screens = Path(args.work_dir, "screens.json")
        screens.write_text(json.dumps({"screens": [SCALED_SCREEN]}), encoding="utf-8")
        env["QT_QPA_PLATFORM"] = "offscreen:configfile=%s" % screens
    start_camera(args, processes)
    remove(settings_file(args))
    monitor = Monitor(args, processes, ["--run-time", "6"], env=env)
    texts = monitor.succeed()
    check(all(re.fullmatch(pattern, texts["labels"].get(caption, "")) for caption, pattern in labels.items()),
          "the window shows no camera and frame in its language: %s" % texts["labels"])
    monitor.check(labels is ENGLISH_LABELS or any(line.startswith("Bildrate: ") for line in monitor.stdout),
                  "no German summary line")
    if not whole:
        return
    scale = float(env.get("QT_SCALE_FACTOR", 1))
    check(texts["devicePixelRatio"] == scale, "the window was drawn at a device pixel ratio of %g"
          % texts["devicePixelRatio"])
    check(scale == 1 or texts["window"]["available"][2] * scale == SCALED_SCREEN["width"],
          "the window is not on the screen of %s: %s" % (SCALED_SCREEN, texts["window"]))
    check(texts["table"] and not texts["elided"] and not texts["cutColumns"] and not texts["settingsCut"],
          "at %s the window cuts the figures %s, the columns %s or the camera settings (%s):\n%s\n%s"
          % (texts["size"], texts["elided"], texts["cutColumns"], texts["settingsCut"], texts["labels"],
             texts["table"]))


# The simulated camera's grey pattern is a ramp along the diagonals, one step of the most significant
# byte per pixel, that wraps at the largest sample. Bayer formats name their top-left 2 x 2 cell row by row.
IMAGE_FORMATS = {"Mono8": None, "Mono16": None, "BayerRG8": "RGGB", "BayerGB8": "GBRG"}


def check_image_pixels(pixel_format, bayer, image_file, raw_size=(512, 512), quarter_turn=False):
    """The saved image holds the camera's own samples: grey as they are, colours at their Bayer sites; turned a
    quarter clockwise, each pixel holds the sample it was turned from. The raw bytes beside it stay unturned."""
    width, height, image = read_png(image_file)
    raw = Path(image_file + ".raw").read_bytes()
    raw_width, raw_height = raw_size
    check((width, height) == ((raw_height, raw_width) if quarter_turn else raw_size)
          and len(raw) % (raw_width * raw_height) == 0,
          "%s: a %dx%d image of %d raw bytes" % (pixel_format, width, height, len(raw)))
    size = len(raw) // (raw_width * raw_height)
    source = (lambda x, y: (y, raw_height - 1 - x)) if quarter_turn else (lambda x, y: (x, y))
    sample = lambda x, y: int.from_bytes(raw[(y * raw_width + x) * size:(y * raw_width + x + 1) * size], "little")
    shift, largest = 8 * (size - 1), 256 ** size - 1
    grey = 0
    for y in range(height):
        for x in range(width):
            pixel = image.getpixel((x, y))
            grey += len(set(pixel)) == 1
            sx, sy = source(x, y)
            if bayer is None:
                ramp = (sample(sx, sy) - sample(0, 0) - (sx + sy << shift)) % largest == 0
                check(pixel[0] == sample(sx, sy) >> shift and ramp, "%s: pixel (%d, %d) is %s, its sample %d, the "
                      "first %d" % (pixel_format, x, y, pixel, sample(sx, sy), sample(0, 0)))
            else:
                site = "RGB".index(bayer[sy % 2 * 2 + sx % 2])
                check(pixel[site] == sample(sx, sy), "%s: pixel (%d, %d) is %s, its %s sample %d"
                      % (pixel_format, x, y, pixel, "RGB"[site], sample(sx, sy)))
    check((bayer is None) == (grey == width * height), "%s: %d of %d pixels are grey" % (pixel_format, grey,
                                                                                       width * height))


# Settings entered in the window: (test action, what the window shows then).
CONTROL_ACTIONS = [("frame-rate=25", "25 fps"), ("exposure-time=12500", "12.5 ms"), ("gain=6", "6 dB")]
CONTROL_FOLLOW_TIME = 3


def case_controls(args, processes):
    """Settings entered in the window reach the camera; the shown rate follows the new frame rate."""
    start_camera(args, processes)
    change_at = 6
    monitor = Monitor(args, processes, ["--frame-rate", "50", "--run-time", "16"]
                      + ["--test-action=%d:%s" % (change_at, action) for action, _ in CONTROL_ACTIONS])
    texts = monitor.succeed()
    check(texts["controls"][:3] == [shown for _, shown in CONTROL_ACTIONS],
          "the window shows the settings %s" % texts["controls"])
    check_shown_rate(monitor, monitor.figures(), 25, "after the change", since=change_at + CONTROL_FOLLOW_TIME)
    check(any(point[3] for point in texts["chart"][change_at - 1:]), "the chart marks no restart at the change: %s"
          % texts["chart"])


# Region, binning, automatic gain and a quarter turn entered in the window; what the window then shows from offset x
# on: the camera's region and binning, its automatic exposure (the simulated camera has none) and gain.
GEOMETRY_ACTIONS = ["offset-x=16", "offset-y=8", "width=320", "height=200", "binning-horizontal=2",
                    "binning-vertical=3", "auto-gain=on", "rotation=90"]
GEOMETRY_SHOWN = ["16 px", "8 px", "320 px", "200 px", "2", "3", "unavailable", "on"]


# The runs of each image case: what the run is, the settings it enters in the window, the settings the window then
# shows from which one on, the image's pixel format and Bayer cell, its raw size and whether it is turned.
IMAGE_CASES = {
    "image": [(name, ["pixel-format=" + name], 3, [name], name, bayer, (512, 512), False)
              for name, bayer in IMAGE_FORMATS.items()],
    "image-geometry": [(run, actions, 4, GEOMETRY_SHOWN, "Mono8", None, (320, 200), True)
                       for run, actions in (("entered", GEOMETRY_ACTIONS), ("restored", []))],
}


def image_case(args, processes, runs):
    """Grey and Bayer formats of the simulated camera are shown as its pattern, each pixel from its own samples;
    region, binning and automatic gain reach the camera, the image is turned, and a new run on a restarted camera
    restores them all."""
    remove(settings_file(args))
    camera = start_camera(args, processes)
    for name, actions, first, shown, pixel_format, bayer, raw_size, turned in runs:
        image_file = os.path.join(args.work_dir, name + ".png")
        texts = Monitor(args, processes, ["--run-time", "5", "--save-image", image_file]
                        + ["--test-action=2:" + action for action in actions]).succeed()
        check(texts["controls"][first:first + len(shown)] == shown
              and texts["image"] == list(raw_size[::-1] if turned else raw_size),
              "%s: the window shows the settings %s and an image of %s" % (name, texts["controls"], texts["image"]))
        check_image_pixels(pixel_format, bayer, image_file, raw_size, turned)
        # The camera forgets its settings: what the next run shows, the monitor remembered.
        stop_camera(processes, camera)
        camera = start_camera(args, processes)


MULTI_CAMERAS = ["127.0.0.%d" % host for host in range(2, 6)]
MULTI_FPS = 50
TIMER_LATENESS_LIMIT_MS = 100


def start_multi_cameras(args, processes):
    """The simulated cameras of MULTI_CAMERAS, each with its own serial number, in the private network namespace."""
    for address in MULTI_CAMERAS:
        subprocess.run(["ip", "addr", "add", address + "/8", "dev", "lo"], check=True)
        start_camera(args, processes, ["--serial", "GV%s" % address.replace(".", "")], address)


def case_cameras(args, processes):
    """Four cameras stream at once, each shown at the rate it delivers; the GUI's timer stays on time."""
    start_multi_cameras(args, processes)
    monitor = Monitor(args, processes, ["--all-cameras", "--frame-rate", str(MULTI_FPS), "--run-time", "16"])
    table = monitor.succeed()["table"]
    timing = monitor.figures("timing:")
    monitor.check(len(timing) == 1 and timing[0]["cameras"] == len(MULTI_CAMERAS), "no timing line")
    late = timing[0]["timer_max_late_ms"]
    check_unless_busy(late <= TIMER_LATENESS_LIMIT_MS, "the GUI's 1 s timer fired %d ms late" % late)
    monitor.check(sorted(row[ADDRESS_COLUMN] for row in table if row[1].endswith(" fps")) == MULTI_CAMERAS,
                  "the table does not show the rate of every camera: %s" % table)
    for address in MULTI_CAMERAS:
        check_shown_rate(monitor, monitor.figures("camera-figures:", address), MULTI_FPS, address)


# The simulated camera's shortest frame period is 1 ms: asked for 1000 fps, it sends as fast as the machine lets it.
FASTEST_FPS = 1000
LOSS_RUN_TIME = 20
LOSS_ROUNDS = 3
FULL_SENSOR_SIZE = 2048  # of the simulated camera
GVSP_OVERHEAD = 36  # the IP, UDP and GVSP headers of a stream packet
ARAVIS_ATTEMPTS = 3


def aravis_statistics(output):
    """The stream statistics arv-camera-test prints at the end, by name."""
    return {name: int(value) for name, value in re.findall(r"^(\w[\w ]*?) += (\d+)", output, re.M)}


def aravis_losses(info):
    """The frames arv-camera-test got incomplete or never got, from its stream statistics.

    Aravis counts a gap in the frame ids once, however many frames it spans, and a frame that found no free
    buffer once per packet; both give at most as many frames as were lost.
    """
    packets_per_frame = -(-info["payload"] // (info["gv packet size"] - GVSP_OVERHEAD)) + 2  # with leader, trailer
    return info["n_failures"] + max(info["n_missing_frames"], info["n_underruns"] // packets_per_frame)


def aravis_test_tool(args):
    """Aravis's arv-camera-test, installed beside the simulated camera."""
    return os.path.join(os.path.dirname(args.fake_camera), "arv-camera-test-0.8")


def aravis_test_statistics(args, processes, addresses):
    """The stream statistics of arv-camera-test per camera address, run on all of them at once for LOSS_RUN_TIME.

    The runs share one session, as the monitor's streams share one process: on a busy machine the kernel's
    autogroup scheduling gives each session, not each process, an equal share of the CPU.

    Now and then one of the runs completes no frame at all: its stream receives every packet the camera sends
    and finds no free buffer for any (n_underruns), its fifty buffers having come back from Aravis before the
    tool connected the signal that returns them to the stream. Such a run says nothing about the camera and is
    repeated, up to ARAVIS_ATTEMPTS times.
    """
    outputs = {address: os.path.join(args.work_dir, "arv-camera-test-%s.txt" % address) for address in addresses}
    runs = "".join('"$0" -n %s -f %d --duration %d > %s & ' % (address, FASTEST_FPS, LOSS_RUN_TIME, output)
                   for address, output in outputs.items())
    for attempt in range(1, ARAVIS_ATTEMPTS + 1):
        processes.start(["sh", "-c", runs + "wait", aravis_test_tool(args)]).wait(timeout=LOSS_RUN_TIME + 60)
        texts = {address: Path(output).read_text(encoding="utf-8") for address, output in outputs.items()}
        statistics_by_address = {address: aravis_statistics(text) for address, text in texts.items()}
        idle = [address for address, info in statistics_by_address.items() if info.get("n_completed_buffers", 0) == 0]
        if not idle:
            return statistics_by_address
        print("arv-camera-test, attempt %d: no frame received from %s" % (attempt, ", ".join(idle)))
    check(False, "arv-camera-test received no frame in %d attempts:\n%s" % (ARAVIS_ATTEMPTS, texts[idle[0]]))


def check_losses_against_aravis(args, processes, monitor_options, monitor_results):
    """Per camera, the monitor loses no more frames than arv-camera-test run after it, give or take one; the texts
    of the monitor's window at the end of the round that showed it.

    A burst of other work on the machine costs whichever program runs then a few frames, so a round that the
    monitor loses is run again, up to LOSS_ROUNDS times; a monitor that drops frames loses every round. A
    monitor whose buffers run out receives no whole frame to count a loss by, so it must also receive a
    quarter of arv-camera-test's frames at least.
    """
    for round_number in range(1, LOSS_ROUNDS + 1):
        monitor = Monitor(args, processes, ["--frame-rate", str(FASTEST_FPS), "--run-time", str(LOSS_RUN_TIME)]
                          + monitor_options)
        texts = monitor.succeed()
        results = monitor_results(monitor)
        aravis = aravis_test_statistics(args, processes, results)
        frames = {address: (int(result["images"]), aravis[address]["n_completed_buffers"])
                  for address, result in results.items()}
        lost = {address: (int(result["errors"]), aravis_losses(aravis[address]))
                for address, result in results.items()}
        print("round %d, frames received and lost per camera (the monitor, arv-camera-test): %s, %s"
              % (round_number, frames, lost))
        check(all(4 * mine >= theirs for mine, theirs in frames.values()),
              "the monitor received fewer than a quarter of arv-camera-test's frames: %s" % frames)
        if all(mine <= theirs + 1 for mine, theirs in lost.values()):
            return texts
    check(False, "in each of %d rounds the monitor lost more frames than arv-camera-test and one" % LOSS_ROUNDS)


def case_frame_loss(args, processes):
    """At the camera's full size and highest rate the monitor loses no more frames than arv-camera-test.

    Frames this large take Aravis's receiving thread longest to fill (four cameras of smaller frames follow
    below), and the window shows them.
    """
    start_camera(args, processes)
    size = str(FULL_SENSOR_SIZE)
    subprocess.run([aravis_test_tool(args), "-n", CAMERA_ADDRESS, "-w", size, "-h", size, "--duration", "1"],
                   check=True, stdout=subprocess.DEVNULL, timeout=60)
    texts = check_losses_against_aravis(args, processes, [], lambda monitor: {CAMERA_ADDRESS: monitor.result()})
    check(texts["image"] == [FULL_SENSOR_SIZE] * 2, "the window shows an image of %s" % texts["image"])


def case_frame_loss_cameras(args, processes):
    """The same with four cameras streaming at once, each in its own thread of the monitor."""
    start_multi_cameras(args, processes)
    check_losses_against_aravis(args, processes, ["--all-cameras"], lambda monitor: {
        address: monitor.figures("camera-result:", address)[0] for address in MULTI_CAMERAS})


# Each run of the monitor: a change of its window during the run, and what the window must be at its end,
# given the windows of the runs before (None: anything).
WINDOW_RUNS = [
    (None, None),
    ("maximize", lambda w, runs: w["maximized"]),
    (None, lambda w, runs: w["maximized"]),
    ("normal", lambda w, runs: not w["maximized"] and w["frame"] == runs[0]["frame"]),
    ("move=100,-300", None),
    (None, lambda w, runs: w["frame"][1] == w["available"][1] and w["frame"][0] == 100),
] + [(None, lambda w, runs: w["frame"] == runs[5]["frame"])] * 5
# The Qt Quick monitor keeps its place and its maximized state through the library's window functions, which
# leave a title bar above the screen where it was.
QUICK_WINDOW_RUNS = [
    (None, None),
    ("move=100,60", None),
    (None, lambda w, runs: w["frame"] == runs[1]["frame"] and w["frame"][:2] == [100, 60]),
    ("maximize", lambda w, runs: w["maximized"]),
    (None, lambda w, runs: w["maximized"]),
    ("normal", lambda w, runs: not w["maximized"] and w["frame"] == runs[1]["frame"]),
]


def case_window_state(args, processes):
    """Under a window manager the window comes back maximized with its normal geometry kept, reachable, unmoved."""
    display = start_display(processes)
    if not display:
        print("SKIP: Xvfb or openbox is not installed")
        return SKIPPED
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    remove(settings_file(args))
    runs = []
    for action, expected in QUICK_WINDOW_RUNS if quick_monitor(args) else WINDOW_RUNS:
        monitor = Monitor(args, processes, ["--run-time", "2", "--retry-interval", "0"]
                          + (["--test-action=1:" + action] if action else []), env=env, offscreen=False)
        monitor.finish(timeout=60)
        runs.append(monitor.texts()["window"])
        check(not expected or expected(runs[-1], runs), "after %s the window is %s; the runs before: %s"
              % (action or "a restart", runs[-1], runs[:-1]))


# Every key the monitor saves, other than its table's header layout, with a value other than its default.
CHANGED_SETTINGS = {"binaryPrefixes": True, "normalPos": QPoint(40, 30), "normalSize": QSize(700, 500),
                    "pos": QPoint(40, 30), "size": QSize(700, 500), "windowState": 1}  # 1: maximized
# The header layout's sort indicator, as QHeaderView::saveState() writes it after its version marker and
# orientation: order, section, shown. Saved by the monitor: descending, on section 0, hidden.
SORT_INDICATOR = slice(12, 21)
CHANGED_SORT_INDICATOR = struct.pack(">iib", 0, 2, 1)  # ascending, on section 2, shown


def saved_settings(path):
    """The monitor's settings group in its file, read with Qt's own INI reader."""
    settings = QSettings(path, QSettings.Format.IniFormat)
    check(settings.childGroups() == ["MainWindow"], "unexpected settings groups: %s" % settings.childGroups())
    settings.beginGroup("MainWindow")
    return settings


def case_restored_settings(args, processes):
    """With every setting it saves changed from its default, the monitor starts with them and shows figures."""
    start_camera(args, processes)
    path = settings_file(args)
    remove(path)
    Monitor(args, processes, ["--run-time", "2"]).succeed()
    settings = saved_settings(path)
    check(set(settings.childKeys()) == set(CHANGED_SETTINGS) | {"header", "headerver"},
          "the monitor saves keys this test does not change: %s" % sorted(settings.childKeys()))
    header = bytearray(settings.value("header").data())
    check(header[SORT_INDICATOR] != CHANGED_SORT_INDICATOR, "the saved header layout is already the changed one")
    header[SORT_INDICATOR] = CHANGED_SORT_INDICATOR
    # headerver stays: it is the layout's version, without which the monitor does not restore the layout.
    for key, value in dict(CHANGED_SETTINGS, header=QByteArray(bytes(header))).items():
        settings.setValue(key, value)
    settings.sync()
    texts = Monitor(args, processes, ["--run-time", "4"]).succeed()
    labels, window = texts["labels"], texts["window"]
    check(re.fullmatch(r"[\d.]+ [KM]iB/s", labels.get("Data rate:", "")) and " KiB per frame" in labels["Frame size:"],
          "the figures do not use the restored binary prefixes: %s" % labels)
    check(window["maximized"] and window["normal"] == [40, 30, 700, 500],
          "the window's restored state and normal geometry are not kept: %s" % window)
    check(saved_settings(path).value("header").data()[SORT_INDICATOR] == CHANGED_SORT_INDICATOR,
          "the table's header layout was not restored (and saved again)")


FSI, PDI = "\u2068", "\u2069"
# Every camera answers discovery; the monitor opens them in turn (see HOSTILE_ACTIONS).
HOSTILE_CAMERAS = [
    # Answers each memory read after 0.3 s: its 200 kB GenICam file takes Aravis minutes to read.
    dict(address="127.0.0.2", vendor=b"Hostile", model=b"Slow", serial=b"S1", delay=0.3, xml_padding=200000),
    dict(address="127.0.0.3", vendor=b"Hostile", model=b"Mod\xe9l", serial=b"L1", ip_configuration=0x7),
    dict(address="127.0.0.4", vendor=b"Hostile", model="\u202egpj.exe".encode(), serial="12\u202e34".encode(),
         ip_configuration=0x4),
    # Its GenICam file is cut short: it cannot stream, and the long message says so with its name.
    dict(address="127.0.0.5", vendor=b"Hostile Vendor With A Long Name", model=b"Top\nHidden model, long as well",
         serial=b"N1", xml=b"<RegisterDescription"),
    # Answers only a discovery command sent to its own address: only a monitor that asks it there finds it.
    dict(address="127.0.0.6", vendor=b"Hostile", model=b"Hidden", serial=b"H1", hidden=True),
]
HOSTILE_ACTIONS = ["3:reconnect", "5:switch=127.0.0.3", "8:switch=127.0.0.4", "11:switch=127.0.0.2",
                   "12.5:switch=127.0.0.5"]
HOSTILE_RUN_TIME = 15
# What the monitor must show for them, given as cells (address: column: text) and labels.
HOSTILE_CELLS = {
    "127.0.0.3": {3: FSI + "Mod\u00e9l" + PDI, 7: "Static IP, DHCP, Auto IP"},
    "127.0.0.4": {3: FSI + "\\u202Egpj.exe" + PDI, 4: FSI + "12\\u202E34" + PDI, 7: "not reported (bits 0x4)"},
    "127.0.0.5": {3: FSI + "Top\u240aHidden model, long as well" + PDI, 4: FSI + "N1" + PDI, 6: "127.0.0.5"},
}
ADDRESS_COLUMN = 6
SPOOF_ID = FSI + "Hostile-\\u202Egpj.exe-12\\u202E34" + PDI
LONG_ID = FSI + "Hostile Vendor With A Long Name-Top\u240aHidden model, long as well-N1" + PDI
BIDI_CONTROLS = re.compile("[\u0000-\u001f\u007f-\u009f\u061c\u200e\u200f\u2028-\u202e\u2066-\u2069]")


def outside_isolates(text):
    """The monitor's own part of a text: the text without its isolated camera texts, which must be balanced."""
    own, depth = "", 0
    for character in text:
        depth += (character == FSI) - (character == PDI)
        check(depth in (0, 1), "unbalanced or nested isolates in %r" % text)
        if depth == 0 and character != PDI:
            own += character
    check(depth == 0, "an isolate is not closed in %r" % text)
    return own


def check_hostile_texts(texts):
    """Camera texts are isolated and show their controls; they leave the monitor's texts and other cells alone."""
    check(texts["size"][0] == 960, "the window is %d pixels wide, not 960" % texts["size"][0])
    shown = list(texts["labels"].values()) + texts["messages"] + [texts["status"]]
    shown += [cell for row in texts["table"] for cell in row]
    for text in shown:
        check(not BIDI_CONTROLS.search(outside_isolates(text).replace(FSI, "")),
              "a control character reaches the monitor's own text: %r" % text)
        check(not BIDI_CONTROLS.search(text.replace(FSI, "").replace(PDI, "")),
              "a control character is shown as it is: %r" % text)
    rows = {row[ADDRESS_COLUMN]: row for row in texts["table"]}
    for address, cells in HOSTILE_CELLS.items():
        check(address in rows and all(rows[address][column] == text for column, text in cells.items()),
              "the camera at %s is not shown with the cells %s: %s" % (address, cells, texts["table"]))
    check(texts["labels"].get("Camera:") == SPOOF_ID + ", 127.0.0.4", "the camera is shown as %r, not as %r"
          % (texts["labels"].get("Camera:"), SPOOF_ID + ", 127.0.0.4"))
    failure = " the camera %s: " % LONG_ID.replace("\u240a", "")  # Aravis drops the control characters of ids
    state = texts["labels"]["State:"]
    check(state.startswith("Cannot ") and failure in state and texts["messages"] and failure in texts["messages"][0],
          "the failure to open the camera at 127.0.0.5 is not shown as %r: %s" % (failure, texts))


def case_hostile_cameras(args, processes):
    """Broken cameras: a slow one cannot hold up close, reconnect or switch, names of any bytes open and none spoofs;
    a camera that answers only at its own address opens by that address."""
    cameras = HostileCameras(HOSTILE_CAMERAS)
    cameras.start()
    options = ["--camera", "127.0.0.2", "--run-time", str(HOSTILE_RUN_TIME), "--retry-interval", "0"]
    monitor = Monitor(args, processes, options + ["--test-action=" + action for action in HOSTILE_ACTIONS])
    # A monitor that waits for the slow camera's thread takes minutes to end.
    monitor.finish(timeout=HOSTILE_RUN_TIME + 30)
    timings = [int(waited) for waited in
               re.findall(r"^(?:reconnect|switch=\S+|exit): (\d+) ms", "\n".join(monitor.stdout), re.M)]
    monitor.check(len(timings) == len(HOSTILE_ACTIONS) + 1 and max(timings) < 1000,
                  "the GUI thread waited, or timings are missing (ms): %s" % timings)
    reads = cameras.memory_reads["127.0.0.2"]
    check(3 <= reads < 400, "the slow camera had %d memory reads; the test did not hold the monitor in them" % reads)
    monitor.check("streaming: Hostile-Mod\u00e9l-L1" in monitor.stdout and not monitor.reports("not found"),
                  "the camera with a Latin-1 name was not opened")
    check_hostile_texts(monitor.texts())
    hidden = Monitor(args, processes, ["--camera", "127.0.0.6", "--run-time", "3", "--retry-interval", "0"])
    hidden.finish(timeout=30)
    cameras.stopping = True
    hidden.check("streaming: Hostile-Hidden-H1" in hidden.stdout, "the camera asked at its address was not opened")


# The cases: each function case_NAME_OF_IT as NAME-OF-IT, and those of the tables of first starts and image runs.
CASES = {name[len("case_"):].replace("_", "-"): case for name, case in globals().items() if name.startswith("case_")}
CASES.update({name: functools.partial(first_start_case, start=start) for name, start in FIRST_STARTS.items()})
CASES.update({name: functools.partial(image_case, runs=runs) for name, runs in IMAGE_CASES.items()})


if __name__ == "__main__":
    sys.exit(run(CASES, __doc__.splitlines()[0]))
