#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Reads Google Benchmark JSON output and prints each measured operation beside
its floor from the same run.

    scripts/bench-ratios.py [--min] [JSON]

A measured benchmark names its floor in its label: "vs=<floor name> goal=<ratio>"
(goal is optional). The ratio is the operation's CPU time over the floor's. With
--benchmark_repetitions, the median of the repetitions is used for both; with
--min, the fastest repetition of each (the JSON must then hold the repetitions
themselves, not only their aggregates). Interference on a shared machine only
adds time, so the fastest of many interleaved repetitions
(--benchmark_enable_random_interleaving=true) repeats best from run to run.
Exit status 0 always: benchmarks on a shared machine are a report, not a test.
"""
import argparse
import json
import sys


def medians(data):
    """Each benchmark's row: its median aggregate where repetitions gave one, else its single run."""
    rows = {}
    for bench in data["benchmarks"]:
        name = bench.get("run_name", bench["name"])
        if bench.get("run_type", "iteration") == "iteration":
            rows.setdefault(name, bench)
        elif bench.get("aggregate_name") == "median":
            rows[name] = bench
    return rows


def fastest(data):
    """Each benchmark's row: its repetition of the least CPU time."""
    rows = {}
    for bench in data["benchmarks"]:
        name = bench.get("run_name", bench["name"])
        if bench.get("run_type", "iteration") == "iteration" and (
                name not in rows or bench["cpu_time"] < rows[name]["cpu_time"]):
            rows[name] = bench
    return rows


def ratios(data, pick=medians):
    """(name, ns, floor ns, ratio, goal, verdict) for every benchmark whose floor ran too."""
    rows = pick(data)
    result = []
    for name, bench in rows.items():
        fields = dict(item.split("=", 1) for item in bench.get("label", "").split() if "=" in item)
        floor = rows.get(fields.get("vs", ""))
        if not floor:
            continue
        ratio = bench["cpu_time"] / floor["cpu_time"] if floor["cpu_time"] else float("inf")
        goal = fields.get("goal", "")
        verdict = "" if not goal else ("ok" if ratio <= float(goal) else "OVER")
        result.append((name, bench["cpu_time"], floor["cpu_time"], ratio, goal, verdict))
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("json", nargs="?", help="Google Benchmark JSON output (default: standard input)")
    parser.add_argument("--min", action="store_true", help="compare the fastest repetitions instead of the medians")
    args = parser.parse_args()
    data = json.load(open(args.json) if args.json else sys.stdin)
    print(f"{'benchmark':60} {'ns':>12} {'floor ns':>12} {'ratio':>7} {'goal':>6}")
    for name, ns, floor_ns, ratio, goal, verdict in ratios(data, fastest if args.min else medians):
        print(f"{name:60} {ns:12.1f} {floor_ns:12.1f} {ratio:7.2f} {goal:>6} {verdict}")


if __name__ == "__main__":
    main()
