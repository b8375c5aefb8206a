#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""End-to-end and fault tests of the camera monitor against Aravis's simulated camera.

Each test case starts its own simulated camera on the loopback interface and
the monitor offscreen, and stops every process it started (whole process
groups) on every way out, failures and timeouts included. Rates are measured
over several seconds, so the checks hold on a busy machine.

The case hostile-cameras runs in a private network namespace instead, against
HostileCameras, a scripted GigE Vision responder that plays broken cameras.

The case cameras runs in a private network namespace too, where the loopback
interface can take the further addresses of four simulated cameras.

Usage: camera_e2e.py --monitor BIN --fake-camera BIN --camera-test BIN --work-dir DIR CASE [--fps N]
Cases: rate, lossy-camera, camera-killed, no-camera, camera-restart, hostile-cameras, german, image,
controls, cameras, window-state (under Xvfb with openbox).
"""

import argparse
import concurrent.futures
import fcntl
import heapq
import json
import os
import re
import select
import shutil
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

CAMERA_ADDRESS = "127.0.0.1"
GVCP_PORT = 3956
STALL_LIMIT = 10.5  # seconds after the last frame when the frame-rate statistic reads zero
RATE_TOLERANCE = 0.05
SKIPPED = 77  # the exit code that CTest's SKIP_RETURN_CODE turns into a skipped test


class TestFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise TestFailure(message)


class Processes:
    """Starts processes in their own process groups and stops all of them again."""

    def __init__(self):
        self.running = []

    def start(self, command, **kwargs):
        process = subprocess.Popen(command, start_new_session=True, **kwargs)
        self.running.append(process)
        return process

    def stop(self, process, sig=signal.SIGTERM):
        if process.poll() is None:
            try:
                os.killpg(process.pid, sig)
            except ProcessLookupError:
                pass
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()

    def stop_all(self):
        for process in reversed(self.running):
            self.stop(process)


def camera_answers(timeout, address=CAMERA_ADDRESS):
    """True when a GigE Vision device at the loopback address answers a GVCP discovery command."""
    probe = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    probe.settimeout(timeout)
    try:
        probe.sendto(bytes([0x42, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01]), (address, GVCP_PORT))
        answer, _ = probe.recvfrom(1024)
        return answer[2:4] == b"\x00\x03"
    except OSError:
        return False
    finally:
        probe.close()


def gvcp_header(status, command, payload, packet_id):
    return struct.pack(">HHHH", status, command, len(payload), packet_id) + payload


class HostileCameras(threading.Thread):
    """GigE Vision cameras played on loopback addresses, one UDP socket each, for the monitor under test.

    Each camera answers discovery, register reads and writes and memory reads (its bootstrap registers and a
    small GenICam file with the features Aravis needs to stream), and sends no frame. Its memory reads are
    answered after its delay, without holding up the other cameras; its GenICam file is padded to its size.
    Speak only inside a private network namespace: discovery listens on every address.
    """

    XML_ADDRESS = 0x100000
    XML = ('<?xml version="1.0" encoding="utf-8"?>\n'
           '<RegisterDescription ModelName="Hostile" VendorName="Hostile" StandardNameSpace="None" '
           'SchemaMajorVersion="1" SchemaMinorVersion="1" SchemaSubMinorVersion="0" MajorVersion="1" '
           'MinorVersion="0" SubMinorVersion="0" ToolTip="" ProductGuid="0" VersionGuid="0" '
           'xmlns="http://www.genicam.org/GenApi/Version_1_1">\n'
           '<Category Name="Root"><pFeature>AcquisitionMode</pFeature><pFeature>PayloadSize</pFeature>'
           '<pFeature>AcquisitionStart</pFeature><pFeature>AcquisitionStop</pFeature></Category>\n'
           '<Enumeration Name="AcquisitionMode"><EnumEntry Name="Continuous"><Value>0</Value></EnumEntry>'
           '<pValue>AcquisitionModeRegister</pValue></Enumeration>\n'
           '<Integer Name="PayloadSize"><Value>4096</Value></Integer>\n'
           '<Command Name="AcquisitionStart"><pValue>AcquisitionRegister</pValue><CommandValue>1</CommandValue>'
           '</Command>\n'
           '<Command Name="AcquisitionStop"><pValue>AcquisitionRegister</pValue><CommandValue>0</CommandValue>'
           '</Command>\n'
           '%s'
           '<Port Name="Device"/>\n'
           '<!-- %s -->\n'
           '</RegisterDescription>\n')
    XML_REGISTER = ('<IntReg Name="%s"><Address>%s</Address><Length>4</Length><AccessMode>RW</AccessMode>'
                    '<pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>BigEndian</Endianess></IntReg>\n')

    def __init__(self, cameras):
        super().__init__(daemon=True)
        self.memory_reads = {}
        self.lock = threading.Lock()
        self.stopping = False
        self.sockets = {}
        self.discovery = self.bind("0.0.0.0")
        for index, camera in enumerate(cameras):
            self.sockets[self.bind(camera["address"])] = self.memory(index, camera)
            self.memory_reads[camera["address"]] = 0
        self.pending = []  # (due time, sequence, socket, answer, peer)

    @staticmethod
    def bind(address):
        udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        udp.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        udp.bind((address, GVCP_PORT))
        return udp

    def memory(self, index, camera):
        xml = self.XML % (self.XML_REGISTER % ("AcquisitionModeRegister", "0x8000")
                          + self.XML_REGISTER % ("AcquisitionRegister", "0x8004"),
                          "x" * camera.get("xml_padding", 0))
        xml = camera.get("xml", xml.encode())
        registers = bytearray(0x10000)
        fields = [(0x0000, struct.pack(">I", 0x00010002)), (0x0004, struct.pack(">I", 0x80000000)),
                  (0x0008, bytes([0, 0, 0x02, 0])), (0x000C, bytes([0, 0, 0, index + 1])),
                  (0x0010, struct.pack(">I", 0x7)), (0x0014, struct.pack(">I", camera.get("ip_configuration", 0))),
                  (0x0024, socket.inet_aton(camera["address"])), (0x0034, socket.inet_aton("255.0.0.0")),
                  (0x0048, camera["vendor"][:32]), (0x0068, camera["model"][:32]), (0x00D8, camera["serial"][:16]),
                  (0x0200, ("Local:hostile.xml;%x;%x" % (self.XML_ADDRESS, len(xml))).encode()),
                  (0x0904, struct.pack(">I", 1)), (0x0938, struct.pack(">I", 3000))]
        for offset, value in fields:
            registers[offset:offset + len(value)] = value
        return {"registers": registers, "xml": xml, "delay": camera.get("delay", 0.0), "address": camera["address"],
                "discovery": bytes(registers[:0xF8])}

    def read(self, camera, address, count):
        if address >= self.XML_ADDRESS:
            start = address - self.XML_ADDRESS
            data = camera["xml"][start:start + count]
        else:
            data = bytes(camera["registers"][address:address + count])
        return data.ljust(count, b"\0")

    def answer(self, camera, packet):
        """The acknowledge of one command and its delay, or None for commands that get no answer."""
        if len(packet) < 8 or packet[0] != 0x42:
            return None
        command, packet_id, payload = struct.unpack(">H", packet[2:4])[0], packet[6:8], packet[8:]
        packet_id = struct.unpack(">H", packet_id)[0]
        if command == 0x0080:  # READREG
            addresses = struct.unpack(">%dI" % (len(payload) // 4), payload)
            return gvcp_header(0, 0x0081, b"".join(self.read(camera, a, 4) for a in addresses), packet_id), 0.0
        if command in (0x0082, 0x0086):  # WRITEREG, WRITEMEM
            writes = ([struct.unpack(">I", payload[:4]) + (payload[4:],)] if command == 0x0086 else
                      [(a, struct.pack(">I", v)) for a, v in struct.iter_unpack(">II", payload[:len(payload) // 8 * 8])])
            for address, data in writes:
                if address + len(data) <= len(camera["registers"]):
                    camera["registers"][address:address + len(data)] = data
            return gvcp_header(0, command + 1, struct.pack(">HH", 0, len(writes)), packet_id), 0.0
        if command == 0x0084:  # READMEM
            address, count = struct.unpack(">IxxH", payload[:8])
            with self.lock:
                self.memory_reads[camera["address"]] += 1
            data = struct.pack(">I", address) + self.read(camera, address, count)
            return gvcp_header(0, 0x0085, data, packet_id), camera["delay"]
        return None

    def run(self):
        sequence = 0
        while not self.stopping:
            timeout = 0.1 if not self.pending else max(0.0, min(0.1, self.pending[0][0] - time.monotonic()))
            readable, _, _ = select.select([self.discovery] + list(self.sockets), [], [], timeout)
            for udp in readable:
                packet, peer = udp.recvfrom(2048)
                if udp is self.discovery:
                    if packet[2:4] == b"\x00\x02":  # DISCOVERY_CMD
                        for camera in self.sockets.values():
                            udp.sendto(gvcp_header(0, 0x0003, camera["discovery"], 0xFFFF), peer)
                    continue
                reply = self.answer(self.sockets[udp], packet)
                if reply:
                    sequence += 1
                    heapq.heappush(self.pending, (time.monotonic() + reply[1], sequence, udp, reply[0], peer))
            while self.pending and self.pending[0][0] <= time.monotonic():
                _, _, udp, data, peer = heapq.heappop(self.pending)
                udp.sendto(data, peer)

    def reads(self, address):
        with self.lock:
            return self.memory_reads[address]


def wait_until(condition, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.1)
    raise TestFailure("timed out after %g s waiting until %s" % (timeout, what))


def start_camera(args, processes, options=(), address=CAMERA_ADDRESS):
    check(not camera_answers(0.3, address), "a camera already answers at %s; stop it first" % address)
    camera = processes.start([args.fake_camera, "-i", address] + list(options),
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_until(lambda: camera_answers(0.25, address), 20, "the simulated camera at %s answers discovery" % address)
    return camera


def stop_camera(processes, camera):
    processes.stop(camera, signal.SIGKILL)
    wait_until(lambda: not camera_answers(0.25), 10, "the simulated camera is gone")


def measure_with_camera_test(args, processes, fps, duration=8, address=None):
    """Aravis's own rate measurement: the mean of its per-second lines, without the first two (start-up)."""
    tool = processes.start([args.camera_test, "--frequency=%g" % fps, "--duration=%d" % duration,
                            "--no-packet-socket", "--auto"] + (["--name=" + address] if address else []),
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    output, _ = tool.communicate(timeout=duration + 30)
    rates = [float(m.group(1)) for m in re.finditer(r"^\s*(\d+) frames?/s", output, re.MULTILINE)]
    check(len(rates) >= duration - 1, "arv-camera-test printed %d rate lines:\n%s" % (len(rates), output))
    steady = rates[2:]
    check(min(steady) > 0, "arv-camera-test saw gaps in the stream: %s" % rates)
    return statistics.mean(steady)


class Monitor:
    """The monitor, run offscreen; its stdout and stderr lines are collected while it runs."""

    def __init__(self, args, processes, options, env=None, offscreen=True):
        self.screenshot = os.path.join(args.work_dir, "screenshot.png")
        if os.path.exists(self.screenshot):
            os.remove(self.screenshot)
        self.process = processes.start([args.monitor, "--screenshot", self.screenshot] + options
                                       + (["--offscreen"] if offscreen else []),
                                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                       cwd=args.work_dir, env=env)
        self.stdout = []
        self.stderr = []
        self.readers = [threading.Thread(target=self.collect, args=(self.process.stdout, self.stdout)),
                        threading.Thread(target=self.collect, args=(self.process.stderr, self.stderr))]
        for reader in self.readers:
            reader.start()

    @staticmethod
    def collect(stream, lines):
        for line in stream:
            lines.append(line.rstrip("\n"))

    def finish(self, timeout):
        status = self.process.wait(timeout=timeout)
        for reader in self.readers:
            reader.join()
        return status

    def succeed(self, run_time):
        """Waits for the end of a timed run that must find frames."""
        status = self.finish(timeout=run_time + 60)
        check(status == 0, "the monitor exited with %d:\n%s" % (status, self.transcript()))

    def figures(self, prefix="figures:", camera=None):
        """The figure lines printed so far, as dictionaries of numbers; those of one camera when given."""
        result = []
        for line in list(self.stdout):
            if line.startswith(prefix) and (camera is None or line.split()[1] == camera):
                result.append({key: float(value) for key, value in re.findall(r"(\w+)=([\d.]+)", line)})
        return result

    def result(self):
        lines = self.figures("result:")
        check(len(lines) == 1, "expected one result line, got:\n%s" % self.transcript())
        return lines[0]

    def streaming_count(self):
        return sum(1 for line in self.stdout if line.startswith("streaming:"))

    def reports(self, text):
        return [line for line in self.stderr if text in line]

    def transcript(self):
        return "stdout:\n%s\nstderr:\n%s" % ("\n".join(self.stdout), "\n".join(self.stderr))


def read_png(path):
    """Width, height and rows of pixels (tuples of bytes) of an 8-bit grey, RGB or RGBA PNG without interlacing."""
    with open(path, "rb") as png:
        data = png.read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", "%s is not a PNG file" % path)
    position, header, compressed = 8, None, b""
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        chunk = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            compressed += chunk
        position += 12 + length
    width, height, depth, colour, _, _, interlace = header
    check(depth == 8 and colour in (0, 2, 6) and interlace == 0, "unexpected PNG format %s" % (header,))
    channels = {0: 1, 2: 3, 6: 4}[colour]
    raw = zlib.decompress(compressed)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, row = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for x in range(stride):
            left = row[x - channels] if x >= channels else 0
            up, up_left = previous[x], previous[x - channels] if x >= channels else 0
            if kind == 1:
                row[x] = (row[x] + left) & 0xFF
            elif kind == 2:
                row[x] = (row[x] + up) & 0xFF
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                estimate = left + up - up_left
                pa, pb, pc = abs(estimate - left), abs(estimate - up), abs(estimate - up_left)
                row[x] = (row[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else up_left)) & 0xFF
        rows.append([bytes(row[i:i + channels]) for i in range(0, stride, channels)])
        previous = row
    return width, height, rows


def check_screenshot_shows_window(path):
    check(os.path.exists(path), "no screenshot was written")
    width, height, rows = read_png(path)
    check(width >= 400 and height >= 300, "the screenshot is only %dx%d pixels" % (width, height))
    counts = {}
    for row in rows:
        for pixel in row:
            counts[pixel] = counts.get(pixel, 0) + 1
    background = max(counts.values())
    # A window with a table, labels and text has many colours (anti-aliased text)
    # and a good part of its pixels differ from the background.
    check(len(counts) >= 32, "the screenshot has only %d colours" % len(counts))
    check(background < 0.9 * width * height, "the screenshot is nearly uniform")


def check_settings_saved(args):
    path = os.path.join(os.environ.get("XDG_CONFIG_HOME", os.path.expanduser("~/.config")),
                        "Tavix", "CameraMonitor.conf")
    check(os.path.exists(path), "the window layout was not saved to %s" % path)
    with open(path) as settings:
        text = settings.read()
    for key in ("[MainWindow]", "header=", "headerver=", "size="):
        check(key in text, "the saved settings lack %s:\n%s" % (key, text))


def wait_for_frames(monitor, timeout):
    wait_until(lambda: any(f["fps"] > 0 for f in monitor.figures()) or monitor.process.poll() is not None,
               timeout, "the monitor shows a frame rate")
    check(monitor.process.poll() is None, "the monitor ended early:\n%s" % monitor.transcript())


def stream_then_kill_camera(args, processes, fps, run_time, options=()):
    """Starts the camera and the monitor (reconnecting every second), kills the camera once frames flow."""
    camera = start_camera(args, processes)
    monitor = Monitor(args, processes, ["--frame-rate", str(fps), "--run-time", str(run_time),
                                        "--retry-interval", "1"] + list(options))
    wait_for_frames(monitor, timeout=8)
    stop_camera(processes, camera)
    return monitor


def case_rate(args, processes):
    """The rate the monitor shows matches what arv-camera-test measured just before."""
    start_camera(args, processes)
    reference = measure_with_camera_test(args, processes, args.fps)
    run_time = 10
    texts_file = os.path.join(args.work_dir, "texts.json")
    monitor = Monitor(args, processes, ["--frame-rate", str(args.fps), "--run-time", str(run_time),
                                        "--dump-texts", texts_file])
    monitor.succeed(run_time)
    # The statistic's window needs a few seconds to fill; the readings of the last half are steady.
    steady = [f for f in monitor.figures() if f["t"] >= run_time / 2]
    check(len(steady) >= 3, "too few figure lines:\n%s" % monitor.transcript())
    shown = statistics.median(f["fps"] for f in steady)
    shown_bytes = statistics.median(f["bytes_per_second"] for f in steady)
    final = monitor.result()
    print("arv-camera-test: %.2f fps; monitor: median %.3f fps, final %.3f fps, %d images, %d errors"
          % (reference, shown, final["fps"], final["images"], final["errors"]))
    check(abs(shown - reference) <= RATE_TOLERANCE * reference,
          "the monitor shows %.3f fps, arv-camera-test measured %.2f fps:\n%s"
          % (shown, reference, monitor.transcript()))
    expected_bytes = shown * final["width"] * final["height"]
    check(abs(shown_bytes - expected_bytes) <= RATE_TOLERANCE * expected_bytes,
          "data rate %d B/s does not match %.3f fps of %dx%d Mono8 frames:\n%s"
          % (shown_bytes, shown, final["width"], final["height"], monitor.transcript()))
    check(final["images"] >= 0.8 * args.fps * (run_time - 4), "only %d images arrived" % final["images"])
    check_screenshot_shows_window(monitor.screenshot)
    check_settings_saved(args)
    with open(texts_file, encoding="utf-8") as dump:
        chart = json.load(dump)["chart"]
    gaps = [later[0] - earlier[0] for earlier, later in zip(chart, chart[1:])]
    check(abs(len(chart) - run_time) <= 1 and gaps and min(gaps) > 500 and abs(statistics.median(gaps) - 1000) <= 50,
          "the chart does not hold one point per second: %d points, gaps %s ms" % (len(chart), gaps))
    charted = statistics.median(point[1] for point in chart[len(chart) // 2:])
    check(abs(charted - reference) <= RATE_TOLERANCE * reference,
          "the chart shows %.3f fps, arv-camera-test measured %.2f fps: %s" % (charted, reference, chart))


def case_camera_killed(args, processes):
    """A camera that dies while streaming is reported once; the monitor goes on and its rate falls to zero."""
    run_time = 22
    texts_file = os.path.join(args.work_dir, "texts.json")
    monitor = stream_then_kill_camera(args, processes, 50, run_time, ["--dump-texts", texts_file])
    status = monitor.finish(timeout=run_time + 60)
    check(status == 0, "the monitor exited with %d:\n%s" % (status, monitor.transcript()))
    figures = monitor.figures()
    last_image_count = figures[-1]["images"]
    last_frame_time = min(f["t"] for f in figures if f["images"] == last_image_count)
    after_stall = [f for f in figures if f["t"] >= last_frame_time + STALL_LIMIT + 1.0]
    check(after_stall, "the run ended before the stall limit; the monitor started too slowly:\n%s"
          % monitor.transcript())
    check(all(f["fps"] == 0 and f["bytes_per_second"] == 0 for f in after_stall),
          "the rate did not fall to zero after the stall limit:\n%s" % monitor.transcript())
    before_stall = [f for f in figures if last_frame_time + 1.0 <= f["t"] < last_frame_time + STALL_LIMIT - 1.0]
    check(before_stall and all(f["fps"] > 0 for f in before_stall),
          "the rate fell to zero before the stall limit:\n%s" % monitor.transcript())
    lost = monitor.reports("Lost the connection")
    check(len(lost) == 1, "expected one report of the lost connection, got %d:\n%s"
          % (len(lost), monitor.transcript()))
    check(monitor.result()["reports"] >= 1, "the window received no report")
    with open(texts_file, encoding="utf-8") as dump:
        chart = json.load(dump)["chart"]
    stalled = [point[4] for point in chart]
    check(all(stalled[-5:]) and not all(stalled), "the chart does not show the stall: %s" % chart)
    check_screenshot_shows_window(monitor.screenshot)


def case_no_camera(args, processes):
    """Without any camera the monitor says so once, keeps retrying quietly and exits with 1."""
    check(not camera_answers(0.5), "a camera answers at %s" % CAMERA_ADDRESS)
    monitor = Monitor(args, processes, ["--camera", CAMERA_ADDRESS, "--run-time", "6", "--retry-interval", "1"])
    status = monitor.finish(timeout=60)
    check(status == 1, "expected exit code 1 (no frame), got %d:\n%s" % (status, monitor.transcript()))
    missing = monitor.reports('No camera "%s" found' % CAMERA_ADDRESS)
    check(len(missing) == 1, "expected one report of the missing camera, got %d:\n%s"
          % (len(missing), monitor.transcript()))
    result = monitor.result()
    check(result["images"] == 0 and result["fps"] == 0, "figures without a camera: %s" % result)
    check_screenshot_shows_window(monitor.screenshot)


def case_camera_restart(args, processes):
    """A camera that comes back after it was lost streams again in the same run."""
    run_time = 30
    monitor = stream_then_kill_camera(args, processes, 20, run_time)
    wait_until(lambda: monitor.reports("Lost the connection"), 15, "the monitor reports the lost connection")
    start_camera(args, processes)
    wait_until(lambda: monitor.streaming_count() >= 2 or monitor.process.poll() is not None, 15,
               "the monitor streams from the restarted camera")
    status = monitor.finish(timeout=run_time + 60)
    check(status == 0, "the monitor exited with %d:\n%s" % (status, monitor.transcript()))
    check(monitor.streaming_count() == 2, "expected two connections:\n%s" % monitor.transcript())
    result = monitor.result()
    check(result["fps"] > 0 and result["images"] > 0, "no frames after the restart: %s" % result)


def case_lossy_camera(args, processes):
    """A stream that loses packets all the time yields a few summaries, not a report per frame."""
    start_camera(args, processes, ["--gvsp-lost-ratio=5"])  # 0.5 % of the packets: most frames lose one
    run_time = 10
    monitor = Monitor(args, processes, ["--frame-rate", "50", "--run-time", str(run_time)])
    status = monitor.finish(timeout=run_time + 60)
    check(status == 0, "the monitor exited with %d:\n%s" % (status, monitor.transcript()))
    result = monitor.result()
    check(result["errors"] >= 50, "expected many bad frames, got %d:\n%s" % (result["errors"], monitor.transcript()))
    warnings = monitor.reports("Warning: camera-monitor: ")
    # One report per kind at the first fault, then at most one summary per kind every two seconds.
    check(0 < len(warnings) <= 2 * (run_time // 2 + 1), "%d reports for %d bad frames:\n%s"
          % (len(warnings), result["errors"], monitor.transcript()))
    # A report sent in the last moment may still be on its way to the window.
    check(len(warnings) - 1 <= result["reports"] <= len(warnings), "the window received %d of %d reports"
          % (result["reports"], len(warnings)))
    times = [f["t"] for f in monitor.figures()]
    check(all(later - earlier < 2.0 for earlier, later in zip(times, times[1:])),
          "the window stalled; figure lines at %s" % times)


def case_german(args, processes):
    """Under a German locale the window shows the monitor's own texts and the library's in German."""
    start_camera(args, processes)
    texts_file = os.path.join(args.work_dir, "texts.json")
    monitor = Monitor(args, processes, ["--run-time", "6", "--dump-texts", texts_file],
                      env=dict(os.environ, LANG="de_DE.UTF-8"))
    status = monitor.finish(timeout=60)
    check(status == 0, "the monitor exited with %d:\n%s" % (status, monitor.transcript()))
    with open(texts_file, encoding="utf-8") as dump:
        labels = json.load(dump)["labels"]
    check(labels.get("Status:") == "Erfassung l\u00e4uft"
          and re.fullmatch(r"\d+ \u00d7 \d+ Pixel, .+ pro Bild", labels.get("Bildgr\u00f6\u00dfe:", ""))
          and re.fullmatch(r"Bilder: [\d.]+; Fehler: \d+", labels.get("Z\u00e4hler:", "")),
          "the figures are not shown in German: %s" % labels)
    check(any(line.startswith("Bildrate: ") for line in monitor.stdout),
          "no German summary line:\n%s" % monitor.transcript())


# The simulated camera's grey pattern is a ramp along the diagonals, one step of the most significant
# byte per pixel, that wraps at the largest sample. Bayer formats name their top-left 2 x 2 cell row by row.
IMAGE_FORMATS = {"Mono8": None, "Mono16": None, "BayerRG8": "RGGB", "BayerGB8": "GBRG"}


def check_image_pixels(pixel_format, bayer, image_file):
    """The saved image holds the camera's own samples: grey as they are, colours at their Bayer sites."""
    width, height, rows = read_png(image_file)
    with open(image_file + ".raw", "rb") as raw_file:
        raw = raw_file.read()
    check((width, height) == (512, 512) and len(raw) % (width * height) == 0,
          "%s: a %dx%d image of %d raw bytes" % (pixel_format, width, height, len(raw)))
    size = len(raw) // (width * height)
    sample = lambda x, y: int.from_bytes(raw[(y * width + x) * size:(y * width + x + 1) * size], "little")
    shift, largest = 8 * (size - 1), 256 ** size - 1
    grey = 0
    for y in range(height):
        for x in range(width):
            pixel = rows[y][x]
            grey += len(set(pixel)) == 1
            if bayer is None:
                ramp = (sample(x, y) - sample(0, 0) - (x + y << shift)) % largest == 0
                check(pixel[0] == sample(x, y) >> shift and ramp, "%s: pixel (%d, %d) is %s, its sample %d, the first %d"
                      % (pixel_format, x, y, pixel, sample(x, y), sample(0, 0)))
            else:
                site = "RGB".index(bayer[y % 2 * 2 + x % 2])
                check(pixel[site] == sample(x, y), "%s: pixel (%d, %d) is %s, its %s sample %d"
                      % (pixel_format, x, y, pixel, "RGB"[site], sample(x, y)))
    check((bayer is None) == (grey == width * height), "%s: %d of %d pixels are grey" % (pixel_format, grey,
                                                                                       width * height))


def case_image(args, processes):
    """Grey and Bayer formats of the simulated camera are shown as its pattern, each pixel from its own samples."""
    start_camera(args, processes)
    run_time = 5
    for pixel_format, bayer in IMAGE_FORMATS.items():
        image_file = os.path.join(args.work_dir, pixel_format + ".png")
        texts_file = os.path.join(args.work_dir, "texts.json")
        monitor = Monitor(args, processes, ["--run-time", str(run_time), "--save-image", image_file,
                                            "--dump-texts", texts_file, "--test-action=2:pixel-format=" + pixel_format])
        monitor.succeed(run_time)
        with open(texts_file, encoding="utf-8") as dump:
            texts = json.load(dump)
        check(texts["controls"][3] == pixel_format and texts["image"] == [512, 512],
              "%s: the window shows the format %s and an image of %s" % (pixel_format, texts["controls"][3],
                                                                         texts["image"]))
        check_image_pixels(pixel_format, bayer, image_file)


# Settings entered in the window: (test action, what the window shows then).
CONTROL_ACTIONS = [("frame-rate=25", "25 fps"), ("exposure-time=12500", "12.5 ms"), ("gain=6", "6 dB")]
CONTROL_FOLLOW_TIME = 3


def case_controls(args, processes):
    """Settings entered in the window reach the camera; the measured frame rate follows within 3 s."""
    start_camera(args, processes)
    change_at, run_time = 5, 11
    texts_file = os.path.join(args.work_dir, "texts.json")
    monitor = Monitor(args, processes, ["--frame-rate", "50", "--run-time", str(run_time), "--dump-texts", texts_file]
                      + ["--test-action=%d:%s" % (change_at, action) for action, _ in CONTROL_ACTIONS])
    monitor.succeed(run_time)
    with open(texts_file, encoding="utf-8") as dump:
        texts = json.load(dump)
    check(texts["controls"][:3] == [shown for _, shown in CONTROL_ACTIONS],
          "the window shows the settings %s" % texts["controls"])
    figures = monitor.figures()
    for start, end, expected in ((2, change_at, 50.0), (change_at + CONTROL_FOLLOW_TIME, run_time, 25.0)):
        shown = statistics.median(f["fps"] for f in figures if start <= f["t"] < end)
        check(abs(shown - expected) <= RATE_TOLERANCE * expected, "%g s to %g s after the start the monitor shows "
              "%.3f fps, not %g:\n%s" % (start, end, shown, expected, monitor.transcript()))
    check(any(point[3] for point in texts["chart"][change_at - 1:]), "the chart marks no restart at the change: %s"
          % texts["chart"])


MULTI_CAMERAS = ["127.0.0.%d" % host for host in range(2, 6)]
MULTI_FPS = 50
TIMER_LATENESS_LIMIT_MS = 100


def case_cameras(args, processes):
    """Four cameras stream at once, each at the rate arv-camera-test measured; the GUI's timer stays on time."""
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    for address in MULTI_CAMERAS:
        subprocess.run(["ip", "addr", "add", address + "/8", "dev", "lo"], check=True)
        start_camera(args, processes, ["--serial", "GV%s" % address.replace(".", "")], address)
    # All at once, so that the cameras deliver under the load they have while the monitor streams from all.
    with concurrent.futures.ThreadPoolExecutor(len(MULTI_CAMERAS)) as pool:
        rates = pool.map(lambda address: measure_with_camera_test(args, processes, MULTI_FPS, 8, address),
                         MULTI_CAMERAS)
        references = dict(zip(MULTI_CAMERAS, rates))
    # The cameras open one after another; from 6 s on all stream. Ten readings each keep their median
    # steady through a few seconds in which a loaded machine slows the simulated cameras themselves.
    run_time, steady_from = 16, 6
    texts_file = os.path.join(args.work_dir, "texts.json")
    monitor = Monitor(args, processes, ["--all-cameras", "--frame-rate", str(MULTI_FPS), "--run-time", str(run_time),
                                        "--dump-texts", texts_file])
    monitor.succeed(run_time)
    timing = monitor.figures("timing:")
    check(len(timing) == 1 and timing[0]["cameras"] == len(MULTI_CAMERAS), "no timing line:\n%s"
          % monitor.transcript())
    late, cpu = timing[0]["timer_max_late_ms"], timing[0]["process_cpu_seconds"]
    print("GUI timer at most %d ms late; monitor CPU %.1f %% of a core per camera"
          % (late, 100 * cpu / timing[0]["run_seconds"] / len(MULTI_CAMERAS)))
    check(late <= TIMER_LATENESS_LIMIT_MS, "the GUI's 1 s timer fired %d ms late" % late)
    with open(texts_file, encoding="utf-8") as dump:
        table = json.load(dump)["table"]
    check(sorted(row[ADDRESS_COLUMN] for row in table if row[1].endswith(" fps")) == MULTI_CAMERAS,
          "the table does not show the rate of every camera: %s\n%s" % (table, monitor.transcript()))
    for address, reference in references.items():
        steady = [f for f in monitor.figures("camera-figures:", address) if f["t"] >= steady_from]
        check(len(steady) >= 3, "too few figure lines of %s:\n%s" % (address, monitor.transcript()))
        shown = statistics.median(f["fps"] for f in steady)
        print("%s: arv-camera-test %.2f fps; monitor median %.3f fps" % (address, reference, shown))
        check(abs(shown - reference) <= RATE_TOLERANCE * reference, "the monitor shows %.3f fps for %s, "
              "arv-camera-test measured %.2f fps:\n%s" % (shown, address, reference, monitor.transcript()))


def start_display(processes):
    """An X server of its own with a window manager; its DISPLAY, or None where there is none to be had."""
    if not shutil.which("Xvfb") or not shutil.which("openbox"):
        return None
    read_end, write_end = os.pipe()
    processes.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                    pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        display = ":" + numbers.readline().strip()
    processes.start(["openbox"], env=dict(os.environ, DISPLAY=display), stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
    time.sleep(1.5)  # until openbox manages new windows
    return display


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


def case_window_state(args, processes):
    """Under a window manager the window comes back maximized with its normal geometry kept, reachable, unmoved."""
    display = start_display(processes)
    if not display:
        print("SKIP: Xvfb or openbox is not installed")
        return SKIPPED
    texts_file = os.path.join(args.work_dir, "texts.json")
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    settings = os.path.join(os.environ.get("XDG_CONFIG_HOME", os.path.expanduser("~/.config")), "Tavix",
                            "CameraMonitor.conf")
    if os.path.exists(settings):
        os.remove(settings)
    runs = []
    for action, expected in WINDOW_RUNS:
        monitor = Monitor(args, processes, ["--run-time", "2", "--retry-interval", "0", "--dump-texts", texts_file]
                          + (["--test-action=1:" + action] if action else []), env=env, offscreen=False)
        monitor.finish(timeout=60)
        with open(texts_file, encoding="utf-8") as dump:
            runs.append(json.load(dump)["window"])
        check(not expected or expected(runs[-1], runs), "after %s the window is %s; the runs before: %s"
              % (action or "a restart", runs[-1], runs[:-1]))


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
HOSTILE_LABELS = {"Camera:": SPOOF_ID + ", 127.0.0.4"}
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
        check(address in rows, "no row for the camera at %s: %s" % (address, texts["table"]))
        for column, text in cells.items():
            check(rows[address][column] == text, "the camera at %s shows %r in column %d, expected %r"
                  % (address, rows[address][column], column, text))
    for caption, text in HOSTILE_LABELS.items():
        check(texts["labels"].get(caption) == text, "%s shows %r, expected %r"
              % (caption, texts["labels"].get(caption), text))
    failure = " the camera %s: " % LONG_ID.replace("\u240a", "")  # Aravis drops the control characters of ids
    state = texts["labels"]["State:"]
    check(state.startswith("Cannot ") and failure in state and texts["messages"] and failure in texts["messages"][0],
          "the failure to open the camera at 127.0.0.5 is not shown as %r: %s" % (failure, texts))


def case_hostile_cameras(args, processes):
    """Broken cameras: a slow one cannot hold up close, reconnect or switch, names of any bytes open and none spoofs."""
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    cameras = HostileCameras(HOSTILE_CAMERAS)
    cameras.start()
    texts_file = os.path.join(args.work_dir, "texts.json")
    options = ["--camera", "127.0.0.2", "--run-time", str(HOSTILE_RUN_TIME), "--retry-interval", "0",
               "--dump-texts", texts_file]
    monitor = Monitor(args, processes, options + ["--test-action=" + action for action in HOSTILE_ACTIONS])
    # A monitor that waits for the slow camera's thread takes minutes to end.
    monitor.finish(timeout=HOSTILE_RUN_TIME + 30)
    cameras.stopping = True
    timings = [line for line in monitor.stdout if re.match(r"(reconnect|switch=\S+|exit): \d+ ms", line)]
    print("\n".join(timings))
    check(len(timings) == len(HOSTILE_ACTIONS) + 1, "missing timings:\n%s" % monitor.transcript())
    for line in timings:
        check(int(re.search(r"(\d+) ms", line).group(1)) < 1000, "the GUI thread waited: %s" % line)
    reads = cameras.reads("127.0.0.2")
    check(3 <= reads < 400, "the slow camera had %d memory reads; the test did not hold the monitor in them" % reads)
    check("streaming: Hostile-Mod\u00e9l-L1" in monitor.stdout and not monitor.reports("not found"),
          "the camera with a Latin-1 name was not opened:\n%s" % monitor.transcript())
    with open(texts_file, encoding="utf-8") as dump:
        check_hostile_texts(json.load(dump))
    check_screenshot_shows_window(monitor.screenshot)


def run_in_network_namespace(args):
    """Runs the case again inside a private network namespace, where only its own cameras answer; SKIPPED without one."""
    command = ["unshare", "-n"] if os.geteuid() == 0 else ["unshare", "-rn"]
    if subprocess.run(command + ["true"], stderr=subprocess.DEVNULL).returncode != 0:
        print("SKIP: cannot make a private network namespace with %s" % " ".join(command))
        return SKIPPED
    return subprocess.run(command + [sys.executable] + sys.argv + ["--in-namespace"]).returncode


CASES = {"rate": case_rate, "lossy-camera": case_lossy_camera, "camera-killed": case_camera_killed, "no-camera": case_no_camera,
         "camera-restart": case_camera_restart, "hostile-cameras": case_hostile_cameras, "german": case_german,
         "image": case_image, "controls": case_controls, "cameras": case_cameras, "window-state": case_window_state}
NAMESPACE_CASES = {"hostile-cameras", "cameras"}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--monitor", required=True)
    parser.add_argument("--fake-camera", required=True)
    parser.add_argument("--camera-test", required=True)
    parser.add_argument("--work-dir", required=True)
    parser.add_argument("--fps", type=float, default=20)
    parser.add_argument("--in-namespace", action="store_true", help=argparse.SUPPRESS)
    parser.add_argument("case", choices=sorted(CASES))
    args = parser.parse_args()
    os.makedirs(args.work_dir, exist_ok=True)

    if args.case in NAMESPACE_CASES and not args.in_namespace:
        return run_in_network_namespace(args)
    if args.case not in NAMESPACE_CASES:
        # The simulated camera needs the loopback GVCP port: one test at a time on this
        # machine, also across build directories and ctest runs (RESOURCE_LOCK covers only one run).
        lock = open(os.path.join(tempfile.gettempdir(), "camera-monitor-e2e.lock"), "w")
        fcntl.flock(lock, fcntl.LOCK_EX)
    processes = Processes()
    # CTest ends a test that runs too long with SIGTERM or SIGKILL; turn SIGTERM into cleanup.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    try:
        if CASES[args.case](args, processes) == SKIPPED:
            return SKIPPED
    except (TestFailure, subprocess.TimeoutExpired) as failure:
        print("FAIL: %s" % failure)
        return 1
    finally:
        processes.stop_all()
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
