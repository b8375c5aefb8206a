#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Counts the instructions of each benchmark's operation with callgrind and prints
each measured operation beside its floor, as scripts/bench-ratios.py does for times.

    scripts/bench-callgrind.py PROGRAM [TIME_JSON] [--min] [--iterations N] [--benchmark_filter=...]

PROGRAM is a benchmark program of bench/. It runs once under callgrind, each
benchmark once, and each operation N times (default 200) after one untimed call
(see bench/benchsupport.h); the counts repeat exactly from run to run. The ratio
is the operation's instructions over its floor's, checked against the label's
"igoal=". With TIME_JSON, the Google Benchmark JSON output of a timed run of the
same program, the time ratio and "goal=" of bench-ratios.py stand beside it.
The environment passes through (QT_NO_GLIB=1 picks Qt's UNIX event dispatcher).
Exit status 0 always: the figures are a report, not a test.
"""
import argparse
import glob
import importlib.util
import json
import os
import subprocess
import sys
import tempfile


def load_bench_ratios():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bench-ratios.py")
    # The file name has a hyphen, so it is loaded by path rather than imported.
    found = importlib.util.spec_from_file_location("bench_ratios", path)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def callgrind_counts(program, iterations, extra_args):
    """Returns {benchmark name: (instructions per operation, label)} in run order."""
    with tempfile.TemporaryDirectory() as directory:
        out = os.path.join(directory, "callgrind.out")
        report = os.path.join(directory, "benchmarks.json")
        env = dict(os.environ, TAVIXQTBASE_BENCH_CALLGRIND_ITERATIONS=str(iterations))
        subprocess.run(["valgrind", "--tool=callgrind", "--instr-atstart=no", f"--callgrind-out-file={out}",
                        program, "--benchmark_min_time=0", "--benchmark_format=json", f"--benchmark_out={report}",
                        *extra_args], env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        runs = json.load(open(report))["benchmarks"]
        parts = sorted(glob.glob(out + ".*"), key=lambda name: int(name.rsplit(".", 1)[1]))
        if len(parts) != len(runs):
            sys.exit(f"{len(parts)} callgrind parts for {len(runs)} benchmarks")
        counts = {}
        for run, part in zip(runs, parts):
            totals = next(line for line in open(part) if line.startswith("totals:"))
            counts[run["name"]] = (int(totals.split()[1]) / iterations, run.get("label", ""))
        return counts


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program")
    parser.add_argument("time_json", nargs="?")
    parser.add_argument("--iterations", type=int, default=200)
    parser.add_argument("--min", action="store_true", help="time ratios of the fastest repetitions, as bench-ratios.py --min")
    args, benchmark_args = parser.parse_known_args()
    counts = callgrind_counts(args.program, args.iterations, benchmark_args)
    times = {}
    if args.time_json:
        bench_ratios = load_bench_ratios()
        pick = bench_ratios.fastest if args.min else bench_ratios.medians
        times = {row[0]: row for row in bench_ratios.ratios(json.load(open(args.time_json)), pick)}
    print(f"{'benchmark':52} {'instr':>10} {'floor':>10} {'ratio':>6} {'igoal':>6}      {'t ratio':>7} {'goal':>5}")
    for name, (instructions, label) in counts.items():
        fields = dict(item.split("=", 1) for item in label.split() if "=" in item)
        if fields.get("vs") not in counts:
            continue
        floor = counts[fields["vs"]][0]
        ratio = instructions / floor
        goal = fields.get("igoal", "")
        verdict = "" if not goal else ("ok" if ratio <= float(goal) else "OVER")
        line = f"{name:52} {instructions:10.0f} {floor:10.0f} {ratio:6.2f} {goal:>6} {verdict:4}"
        if name in times:
            _, _, _, time_ratio, time_goal, time_verdict = times[name]
            line += f" {time_ratio:7.2f} {time_goal:>5} {time_verdict}"
        print(line)


if __name__ == "__main__":
    main()
