# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""What the camera monitor's end-to-end cases have in common.

Processes started in their own process groups and stopped on every way out,
the simulated camera on a loopback address, the monitor run offscreen with its
output collected, its screenshot read back, a display of its own, and run(),
the command line that runs one case in a private network namespace.
"""

import argparse
import contextlib
import json
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import threading
import time
from pathlib import Path

from PIL import Image

CAMERA_ADDRESS = "127.0.0.1"
SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts")
GVCP_PORT = 3956
SKIPPED = 77  # the exit code that CTest's SKIP_RETURN_CODE turns into a skipped test
SKIPPED_CHECKS = []  # why checks were left out in this run


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
            with contextlib.suppress(ProcessLookupError):
                os.killpg(process.pid, sig)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()

    def stop_all(self):
        for process in reversed(self.running):
            self.stop(process)


def gvcp_packet(first, command, payload, packet_id):
    """A GVCP packet: a command (first: 0x4201, key and flags) or an acknowledge (first: its status)."""
    return struct.pack(">HHHH", first, command, len(payload), packet_id) + payload


def gvcp_command(command, payload=b"", timeout=2, address=CAMERA_ADDRESS):
    """The acknowledge of one GVCP command, sent asking for one, from the device at `address`."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.settimeout(timeout)
        probe.sendto(gvcp_packet(0x4201, command, payload, 1), (address, GVCP_PORT))
        return probe.recv(1024)


def camera_answers(timeout, address=CAMERA_ADDRESS):
    """True when a GigE Vision device at the loopback address answers a GVCP discovery command."""
    try:
        return gvcp_command(0x0002, timeout=timeout, address=address)[2:4] == b"\x00\x03"
    except OSError:
        return False


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


class Monitor:
    """The monitor, run offscreen; its stdout and stderr lines are collected while it runs."""

    def __init__(self, args, processes, options, env=None, offscreen=True):
        self.run_time = float(options[options.index("--run-time") + 1])
        self.screenshot = os.path.join(args.work_dir, "screenshot.png")
        self.texts_file = os.path.join(args.work_dir, "texts.json")
        remove(self.screenshot, self.texts_file)
        self.process = processes.start([args.monitor, "--screenshot", self.screenshot, "--dump-texts", self.texts_file]
                                       + options + (["--offscreen"] if offscreen else []),
                                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                                       cwd=args.work_dir, env=env)
        self.stdout, self.stderr = [], []
        self.readers = [threading.Thread(target=self.collect, args=streams)
                        for streams in ((self.process.stdout, self.stdout), (self.process.stderr, self.stderr))]
        for reader in self.readers:
            reader.start()

    @staticmethod
    def collect(stream, lines):
        lines.extend(line.rstrip("\n") for line in stream)  # line by line, as the monitor prints them

    def finish(self, timeout):
        status = self.process.wait(timeout=timeout)
        for reader in self.readers:
            reader.join()
        return status

    def succeed(self):
        """Waits for the end of a timed run that must find frames; the texts its window showed at the end."""
        status = self.finish(timeout=self.run_time + 60)
        self.check(status == 0, "the monitor exited with %d" % status)
        return self.texts()

    def texts(self):
        """What the window showed at the end of the run (--dump-texts)."""
        return json.loads(Path(self.texts_file).read_text(encoding="utf-8"))

    def figures(self, prefix="figures:", camera=None):
        """The figure lines printed so far, as dictionaries of numbers; those of one camera when given."""
        return [{key: float(value) for key, value in re.findall(r"(\w+)=([\d.]+)", line)} for line in list(self.stdout)
                if line.startswith(prefix) and (camera is None or line.split()[1] == camera)]

    def result(self):
        lines = self.figures("result:")
        self.check(len(lines) == 1, "expected one result line")
        return lines[0]

    def streaming_count(self):
        return sum(1 for line in self.stdout if line.startswith("streaming:"))

    def reports(self, text):
        return [line for line in self.stderr if text in line]

    def transcript(self):
        return "stdout:\n%s\nstderr:\n%s" % ("\n".join(self.stdout), "\n".join(self.stderr))

    def check(self, condition, message):
        """A check whose failure shows the monitor's output so far after its message."""
        check(condition, "%s:\n%s" % (message, self.transcript()))

    def wait_until(self, condition, timeout, what):
        """Waits until the condition holds; fails when the monitor ends before."""
        wait_until(lambda: condition() or self.process.poll() is not None, timeout, what)
        self.check(condition(), "the monitor ended early, waiting until " + what)


def read_png(path):
    """The image of a PNG file in RGB, with Pillow's decoder: its width, height and pixels by [x, y]."""
    check(os.path.exists(path), "no image was written at %s" % path)
    with Image.open(path) as png:
        image = png.convert("RGB")
    return image.width, image.height, image


def check_screenshot_shows_window(path):
    width, height, image = read_png(path)
    check(width >= 400 and height >= 300, "the screenshot is only %dx%d pixels" % (width, height))
    counts = [count for count, _ in image.getcolors(width * height)]
    # A window with a table, labels and text has many colours (anti-aliased text)
    # and a good part of its pixels differ from the background, its most common colour.
    check(len(counts) >= 32, "the screenshot has only %d colours" % len(counts))
    check(max(counts) < 0.9 * width * height, "the screenshot is nearly uniform")


def start_display(processes):
    """An X server of its own with a window manager; its DISPLAY, or None where there is none to be had."""
    if not shutil.which("Xvfb") or not shutil.which("openbox") or not shutil.which("xprop"):
        return None
    read_end, write_end = os.pipe()
    processes.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                    pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        display = ":" + numbers.readline().strip()
    processes.start(["openbox"], env=dict(os.environ, DISPLAY=display), stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
    # A window mapped before openbox manages the screen stays without a frame; on a busy machine that takes a while.
    # A window manager announces itself on the root window, as EWMH asks.
    announced = ["xprop", "-display", display, "-root", "_NET_SUPPORTING_WM_CHECK"]
    wait_until(lambda: "window id" in subprocess.run(announced, capture_output=True, text=True).stdout,
               30, "openbox manages the screen of %s" % display)
    return display


def network_namespace():
    """The network namespace of this process, as /proc names it."""
    return os.readlink("/proc/self/ns/net")


def network_interfaces():
    """The names of the network interfaces in this process's network namespace."""
    return [line.split(":")[0].strip() for line in Path("/proc/self/net/dev").read_text().splitlines()[2:]]


def machine_busy():
    """True while the machine has more runnable work than cores, which delays any program's timers."""
    return os.getloadavg()[0] >= os.cpu_count()


def skip_check(reason):
    """Leaves out a check that the run gave too little to make honestly; the case then ends as skipped."""
    print("SKIP: " + reason)
    SKIPPED_CHECKS.append(reason)


def quick_monitor(args):
    """True when the monitor under test is the Qt Quick one."""
    return os.path.basename(args.monitor) == "camera-monitor-quick"


def settings_file(args):
    """The monitor's settings file under the test's XDG_CONFIG_HOME, named by the monitor's application name."""
    return os.path.join(os.environ.get("XDG_CONFIG_HOME", os.path.expanduser("~/.config")), "Tavix",
                        "CameraMonitorQuick.conf" if quick_monitor(args) else "CameraMonitor.conf")


def remove(*paths):
    """Removes the files that exist of `paths`, such as what a run before left."""
    for path in paths:
        Path(path).unlink(missing_ok=True)


def run(cases, description):
    """Runs the case named on the command line; its exit code: 0 passed, 1 failed, SKIPPED."""
    parser = argparse.ArgumentParser(description=description)
    for option in ("--monitor", "--fake-camera", "--work-dir"):
        parser.add_argument(option, required=True)
    parser.add_argument("--fps", type=float, default=20)
    parser.add_argument("case", choices=sorted(cases))
    args = parser.parse_args()
    os.makedirs(args.work_dir, exist_ok=True)

    # Discovery broadcasts on every interface: the case runs where its own cameras are the only ones and
    # nothing it sends leaves the machine. private-network.sh exits with SKIPPED where it makes no namespace.
    if os.environ.get("TAVIX_PRIVATE_NETWORK") != network_namespace():  # not in a namespace of private-network.sh
        private_network = os.path.join(SCRIPTS, "private-network.sh")
        os.execv(private_network, [private_network, sys.executable] + sys.argv)
    processes = Processes()
    # CTest ends a test that runs too long with SIGTERM or SIGKILL; turn SIGTERM into cleanup.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    try:
        check(network_interfaces() == ["lo"], "the case runs beside the network interfaces %s" % network_interfaces())
        if cases[args.case](args, processes) == SKIPPED:
            return SKIPPED
    except (TestFailure, subprocess.TimeoutExpired) as failure:
        print("FAIL: %s" % failure)
        return 1
    finally:
        processes.stop_all()
    if SKIPPED_CHECKS:
        print("PASS, but these checks were skipped:\n" + "\n".join(SKIPPED_CHECKS))
        return SKIPPED
    print("PASS")
    return 0
