#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Counts the lines of the tests against those of the product.

Counts non-blank lines that are not only comment, in the files that git tracks:

- tests: C++, QML, JavaScript, Python and shell under tests/, examples/*/tests/ and
  python/tests/;
- product: C++, QML, JavaScript and Python everywhere else: the library (src,
  include), the Python module's bindings (SIP declarations and the C++ code they
  hold), the SDK stand-ins (sdk), the examples, bench, fuzz, scripts and the
  documentation's example. The shell scripts that build, test and run it are
  tools around the product, counted on neither side.

Comments are "//" lines and "/* */" blocks in C++, SIP, QML and JavaScript, "#" lines and
docstrings (a string that starts a line with three quotes) in Python and shell. Build
files (CMake), data (the ABI baselines, seeds, translations) and pages are not counted.

    scripts/count-test-lines.py [--tree DIR] [--files]
"""
import argparse
import collections
import re
import subprocess
from pathlib import Path

C_STYLE = {".cpp", ".h", ".sip", ".qml", ".js"}
HASH_STYLE = {".py", ".sh"}
TEST_DIRS = re.compile(r"^(tests|examples/[^/]+/tests|python/tests)/")
DOCSTRING = re.compile(r'^[rbu]?("""|\'\'\')', re.I)


def code_lines(path):
    """Non-blank lines outside comments; a line with code and a comment counts."""
    count = 0
    in_block = False
    quote = ""
    for line in path.read_text(errors="replace").splitlines():
        text = line.strip()
        if path.suffix in HASH_STYLE:
            # A Python string that stands alone, a docstring, is a comment as well.
            if in_block:
                in_block = not text.endswith(quote)
            elif DOCSTRING.match(text):
                quote = DOCSTRING.match(text).group(1)
                in_block = len(text) < 6 + text.find(quote) or not text.endswith(quote)
            else:
                count += bool(text) and not text.startswith("#")
            continue
        code = ""
        while text:
            if in_block:
                end = text.find("*/")
                if end == -1:
                    text = ""
                else:
                    in_block, text = False, text[end + 2:]
            elif text.startswith("//"):
                text = ""
            elif text.startswith("/*"):
                in_block, text = True, text[2:]
            else:
                # Code up to the next comment start; a "//" inside a string literal ends it early,
                # which only shortens a line that counts anyway.
                cut = min((i for i in (text.find("//"), text.find("/*")) if i != -1), default=len(text))
                code, text = code + text[:cut], text[cut:]
        count += bool(code.strip())
    return count


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tree", type=Path, default=Path(__file__).resolve().parent.parent)
    parser.add_argument("--files", action="store_true", help="list every counted file")
    args = parser.parse_args()
    files = subprocess.run(["git", "-C", args.tree, "ls-files"], capture_output=True, text=True,
                           check=True).stdout.split()
    totals = collections.Counter()
    parts = collections.Counter()
    for name in files:
        path = args.tree / name
        suffix = path.suffix
        if not path.is_file():
            continue
        if TEST_DIRS.match(name) and suffix in C_STYLE | HASH_STYLE and not name.startswith("tests/abi/"):
            kind = "tests"
        elif not TEST_DIRS.match(name) and suffix in C_STYLE | {".py"}:
            kind = "product"
        else:
            continue
        lines = code_lines(path)
        totals[kind] += lines
        top = "/".join(name.split("/")[:2 if name.startswith("examples/") else 1])
        parts[(kind, top)] += lines
        if args.files:
            print(f"{kind:8}{lines:6}  {name}")
    for (kind, top), lines in sorted(parts.items()):
        print(f"{kind:8}{lines:6}  {top}")
    tests, product = totals["tests"], totals["product"]
    print(f"tests {tests} against product {product}: {100 * tests / product:.1f}%")


if __name__ == "__main__":
    main()
