#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Measures which faults the tests catch.

Copies the source tree (without .git and build*/) into a temporary directory,
builds it once (Qt 6, RelWithDebInfo, Ninja, examples only for faults in
them), and then, for each
fault of scripts/mutations.txt: applies it, rebuilds incrementally, runs the
tests of the fault's family by their ctest labels, and restores the file.
A fault is caught when a test fails or times out, survives when all pass, and
is "not compiled" when the build fails. A fault whose file the tree does not
have is "not applicable". Prints a table per family and every survivor, then
which test functions caught which faults: a test function that catches no
fault that another one misses is a candidate for folding. --catchers FILE writes,
per fault, the test functions and data rows that caught it, as JSON lines.

    nice scripts/mutation-test.py [--tree DIR] [--only FAMILY ...] [--catchers FILE] [--keep]
"""
import argparse
import collections
import json
import os
import re
import resource
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SCRIPT_DIR = Path(__file__).resolve().parent
# The ctest labels whose tests judge each family's faults.
FAMILY_LABELS = {
    "errorreporting": ["errorreporting"],
    "fpsstatistic": ["fpsstatistic"],
    "formatting": ["formatting"],
    "devicedescriptions": ["formatting"],
    "layout": ["layout"],
    "supportinfo": ["supportinfo"],
    "frameloss": ["frameloss"],
    "cameracore": ["camera-core"],
    "qml": ["qml"],
}
TEST_TIMEOUT = 300  # seconds per test program
# A fault that lets a damaged header state through can make Qt take many gigabytes;
# limited, the test fails or times out without taking the shared machine's memory.
TEST_ADDRESS_SPACE = 2 << 30

Fault = collections.namedtuple("Fault", "family file original replacement line")


def read_faults(path):
    """Blocks of three lines, "FAMILY FILE", "- ORIGINAL", "+ REPLACEMENT"; see mutations.txt."""
    lines = [(n, text) for n, text in enumerate(path.read_text().splitlines(), 1)
             if text.strip() and not text.startswith("#")]
    if len(lines) % 3:
        sys.exit(f"{path}: the fault lines do not come in blocks of three")
    faults = []
    for (n, header), (_, minus), (_, plus) in zip(lines[0::3], lines[1::3], lines[2::3]):
        family, _, file = header.partition(" ")
        if family not in FAMILY_LABELS or not file or not minus.startswith("- ") or not plus.startswith("+"):
            sys.exit(f"{path}:{n}: expected 'FAMILY FILE', '- ORIGINAL', '+ REPLACEMENT'")
        faults.append(Fault(family, file.strip(), minus[2:], plus[2:], n))
    return faults


def write_source(path, text):
    # A fresh modification time for the mutant and for the restored original alike:
    # the objects built from the previous content are newer than the file's old time,
    # and Ninja would take them as up to date.
    before = path.stat().st_mtime_ns
    path.write_bytes(text.encode())
    now = max(time.time_ns(), before + 1)
    os.utime(path, ns=(now, now))


def limit_address_space():
    resource.setrlimit(resource.RLIMIT_AS, (TEST_ADDRESS_SPACE, TEST_ADDRESS_SPACE))


def run(command, log, timeout=None, preexec_fn=None):
    with open(log, "a") as out:
        out.write(f"$ {' '.join(map(str, command))}\n")
        out.flush()
        try:
            return subprocess.run(command, stdout=out, stderr=subprocess.STDOUT, timeout=timeout,
                                  preexec_fn=preexec_fn).returncode
        except subprocess.TimeoutExpired:
            return None


def build(build_dir, log):
    return run(["cmake", "--build", build_dir, "-j2"], log) == 0


def catchers(output):
    """The test functions and data rows that failed ("tst_x::function(row)"), or whole programs that
    failed without naming a function (a crash, a timeout, a failure in a script)."""
    failed = set()
    for program, text in re.findall(r"^\s*\d+/\d+ Test +#\d+: (\S+) \.+\**(?:Failed|Exception|Timeout|\S*Child aborted)"
                                    r".*?\n(.*?)(?=^\s*\d+/\d+ Test +#|\Z)", output, re.M | re.S):
        rows = set(re.findall(r"^FAIL! +: [\w:]+::(\w+\(.*?\))(?= |$)", text, re.M))
        failed |= {f"{program}::{row}" for row in rows} or {program}
    return failed


def function_of(catcher):
    """The test function of a catcher, without its data row."""
    return catcher.split("(", 1)[0]


def run_tests(build_dir, family, log):
    """(caught, timeout or survived; the catchers)."""
    label = "^(" + "|".join(FAMILY_LABELS[family]) + ")$"
    start = log.stat().st_size if log.exists() else 0
    rc = run(["ctest", "--test-dir", build_dir, "-L", label, "--no-tests=error", "--timeout", str(TEST_TIMEOUT),
              "--output-on-failure"], log, timeout=TEST_TIMEOUT * 10, preexec_fn=limit_address_space)
    output = log.read_text(errors="replace")[start:]
    if rc is None or "***Timeout" in output:
        return "timeout", catchers(output)
    return ("survived" if rc == 0 else "caught"), catchers(output)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tree", type=Path, default=SCRIPT_DIR.parent, help="source tree to measure")
    parser.add_argument("--only", choices=sorted(FAMILY_LABELS), action="append", help="measure this family")
    parser.add_argument("--catchers", type=Path, help="write each fault's catching rows to this file")
    parser.add_argument("--keep", action="store_true", help="keep the temporary directory (logs and build)")
    args = parser.parse_args()

    faults = [f for f in read_faults(SCRIPT_DIR / "mutations.txt") if not args.only or f.family in args.only]
    # Faults in one file in a row: the restored file is then compiled only with the next mutant.
    faults.sort(key=lambda f: (f.file, f.line))
    tree = args.tree.resolve()
    missing = [f for f in faults if (tree / f.file).is_file() and (tree / f.file).read_bytes().decode().count(f.original) != 1]
    for f in missing:
        print(f"mutations.txt:{f.line}: {f.file} does not contain exactly once: {f.original}", file=sys.stderr)
    if missing:
        sys.exit(f"{len(missing)} faults do not apply to {tree}")

    work = Path(tempfile.mkdtemp(prefix="mutation-test-"))
    source, build_dir, log = work / "src", work / "build", work / "build.log"
    print(f"tree {tree}, working in {work}", flush=True)
    started = time.monotonic()
    try:
        shutil.copytree(tree, source, symlinks=True, ignore=lambda d, names: [
            n for n in names if Path(d) == tree and (n == ".git" or n.startswith("build"))])
        # Test programs are not relinked for each new build of the shared library they load.
        # The examples only when a fault lies in one, such as the camera monitor.
        examples = "ON" if any(f.file.startswith("examples/") for f in faults) else "OFF"
        if run(["cmake", "-S", source, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                "-DTAVIXQTBASE_QT_MAJOR=6", f"-DTAVIXQTBASE_BUILD_EXAMPLES={examples}",
                "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON"], log) != 0 or not build(build_dir, log):
            sys.exit(f"the unchanged tree does not build; see {log}")
        for family in sorted({f.family for f in faults}):
            if run_tests(build_dir, family, log)[0] != "survived":
                sys.exit(f"the tests of {family} fail on the unchanged tree; see {log}")
        print(f"built and tested the unchanged tree in {time.monotonic() - started:.0f} s", flush=True)

        results = []
        for i, f in enumerate(faults, 1):
            path = source / f.file
            caught_by = set()
            if not path.is_file():
                outcome = "not applicable"
            else:
                original = path.read_bytes().decode()
                if original.count(f.original) != 1:
                    sys.exit(f"mutations.txt:{f.line}: {f.file} does not contain exactly once: {f.original}")
                write_source(path, original.replace(f.original, f.replacement, 1))
                try:
                    fault_log = work / f"fault-{f.line}.log"
                    outcome, caught_by = run_tests(build_dir, f.family, fault_log) \
                        if build(build_dir, fault_log) else ("not compiled", set())
                finally:
                    write_source(path, original)
            results.append((f, outcome, caught_by))
            print(f"[{i}/{len(faults)} {time.monotonic() - started:.0f} s] {outcome:14} {f.family} "
                  f"{f.file}: {f.original} -> {f.replacement}", flush=True)
    finally:
        if args.keep:
            print(f"kept {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)

    report(results, time.monotonic() - started)
    if args.catchers:
        with open(args.catchers, "w") as out:
            for f, outcome, caught_by in results:
                out.write(json.dumps({"line": f.line, "family": f.family, "outcome": outcome,
                                      "caught_by": sorted(caught_by)}) + "\n")


def report(results, seconds):
    counts = collections.defaultdict(collections.Counter)
    for f, outcome, _ in results:
        counts[f.family][outcome] += 1
        counts["total"][outcome] += 1
    print(f"\nfinished in {seconds / 60:.0f} min; caught share = (caught + timeout) / (caught + timeout + survived)")
    print(f"{'family':20}{'faults':>7}{'caught':>8}{'timeout':>9}{'survived':>10}{'not compiled':>14}"
          f"{'n/a':>5}{'share':>7}")
    for family in sorted(counts, key=lambda k: (k == "total", k)):
        c = counts[family]
        judged = c["caught"] + c["timeout"] + c["survived"]
        share = f"{100 * (c['caught'] + c['timeout']) / judged:.0f}%" if judged else "-"
        print(f"{family:20}{sum(c.values()):>7}{c['caught']:>8}{c['timeout']:>9}{c['survived']:>10}"
              f"{c['not compiled']:>14}{c['not applicable']:>5}{share:>7}")
    survivors = [f for f, outcome, _ in results if outcome == "survived"]
    print(f"\nsurvivors ({len(survivors)}):")
    for f in survivors:
        print(f"  {f.family} {f.file} (mutations.txt:{f.line}):\n    - {f.original}\n    + {f.replacement}")
    compile_failures = [f for f, outcome, _ in results if outcome == "not compiled"]
    for f in compile_failures:
        print(f"not compiled: {f.file} (mutations.txt:{f.line}): {f.original} -> {f.replacement}")
    report_catchers(results)


def report_catchers(results):
    """Per test function: the faults it caught, and those that no other test function caught."""
    functions = [(f, {function_of(catcher) for catcher in caught_by}) for f, _, caught_by in results]
    caught = collections.defaultdict(list)
    for f, caught_by in functions:
        for catcher in caught_by:
            caught[catcher].append(f.line)
    print(f"\n{'test function':60}{'caught':>7}  alone (mutations.txt lines)")
    for catcher in sorted(caught):
        alone = [f.line for f, by in functions if by == {catcher}]
        print(f"{catcher:60}{len(caught[catcher]):>7}  {' '.join(map(str, alone)) or '-'}")


if __name__ == "__main__":
    main()
