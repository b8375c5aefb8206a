#!/usr/bin/env python3
"""Reads Google Benchmark JSON output and prints each measured operation beside
its floor from the same run.

A measured benchmark names its floor in its label: "vs=<floor name> goal=<ratio>"
(goal is optional). The ratio is the operation's CPU time over the floor's.
Exit status 0 always: benchmarks on a shared machine are a report, not a test.
"""
import json
import sys


def main():
    data = json.load(open(sys.argv[1]) if len(sys.argv) > 1 else sys.stdin)
    runs = [b for b in data["benchmarks"] if b.get("run_type", "iteration") == "iteration"]
    by_name = {b["name"]: b for b in runs}
    print(f"{'benchmark':60} {'ns':>12} {'floor ns':>12} {'ratio':>7} {'goal':>6}")
    for bench in runs:
        fields = dict(item.split("=", 1) for item in bench.get("label", "").split() if "=" in item)
        floor = by_name.get(fields.get("vs", ""))
        if not floor:
            continue
        ratio = bench["cpu_time"] / floor["cpu_time"] if floor["cpu_time"] else float("inf")
        goal = fields.get("goal", "")
        verdict = "" if not goal else ("ok" if ratio <= float(goal) else "OVER")
        print(f"{bench['name']:60} {bench['cpu_time']:12.1f} {floor['cpu_time']:12.1f} {ratio:7.2f} {goal:>6} {verdict}")


if __name__ == "__main__":
    main()
