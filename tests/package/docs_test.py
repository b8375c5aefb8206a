#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Runs the commands of the documentation as a user would, exactly as written.

Every fenced block of README.md and docs/*.md carries a marker, an HTML
comment on the line before it, which says what to do with it:

  <!-- doc-test: run -->              run the shell block in the page's work directory
  <!-- doc-test: run in-source -->    run it in the top source directory
  <!-- doc-test: file NAME -->        write the block to NAME in the work directory
  <!-- doc-test: skip: REASON -->     leave it; REASON says why (an illustration, run elsewhere)

A "file NAME" marker before a line "@snippet FILE NAME" writes the snippet
that Doxygen shows there.

A block marked with "qt5" as well (run qt5, file NAME qt5) is for both Qt
builds: after the page's blocks, the Qt 5 pass runs the blocks so marked again,
in a fresh work directory, with the Qt 5 build's names (Qt6, qt6 and the
package and module TavixQtBase become Qt5, qt5 and TavixQtBase-qt5). A block
without a marker, or with one this script does not know, fails the test.

In a run block, a command whose line ends in "# prints: TEXT" must print TEXT
(on its standard output or error),
and one whose line ends in "# opens the window" must still be running, with no
QML warning, after a few seconds, when it is stopped.

The blocks of a page pass run as one bash script (set -e), so that exported
variables carry over, inside a mount namespace of their own with a fresh tmpfs
on /opt: a documented prefix such as /opt/tavixqtbase is new and private, and
the commands run as written without touching the host. Needs root.
  tests/package/docs_test.py WORK_DIR [PAGE...]   (default: docs/*.md; README.md always, first)
"""

import os
import re
import shlex
import subprocess
import sys
from pathlib import Path

SOURCE_DIR = Path(__file__).resolve().parents[2]
MARKER = re.compile(r"<!--\s*doc-test:\s*(.*?)\s*-->\s*$")
FENCE = re.compile(r"^(```+)\s*([\w+-]*)")
QT5_NAMES = [
    (re.compile(r"Qt6"), "Qt5"),
    (re.compile(r"qt6"), "qt5"),
    # The package and pkg-config module, not the target's namespace or the include directory.
    (re.compile(r"(?<![\w:/<-])TavixQtBase(?![\w:/-])"), "TavixQtBase-qt5"),
]
WINDOW_SECONDS = 5


class Block:
    def __init__(self, page, line, language, text, marker):
        self.page, self.line, self.language, self.text = page, line, language, text
        self.action, *options = marker.split() or [""]
        self.file_name = options.pop(0) if self.action == "file" and options else None
        self.qt5, self.in_source = "qt5" in options, "in-source" in options
        self.unknown_options = set(options) - {"run": {"in-source", "qt5"}, "file": {"qt5"}}.get(self.action, set())

    def where(self):
        return f"{self.page}:{self.line}"


def snippet(page, line):
    """The Doxygen snippet that LINE ("@snippet FILE NAME") of PAGE shows, or None."""
    words = line.split()
    if len(words) != 3 or words[0] != "@snippet":
        return None
    text = ((SOURCE_DIR / page).parent / words[1]).read_text()
    parts = text.split(f"//! [{words[2]}]\n")
    return parts[1] if len(parts) == 3 else None


def blocks_of(page):
    """The fenced blocks and marked snippets of PAGE; exits on a block without a marker."""
    lines = (SOURCE_DIR / page).read_text().splitlines()
    blocks, problems, index = [], [], 0
    while index < len(lines):
        fence = FENCE.match(lines[index])
        marker = MARKER.match(lines[index - 1].strip()) if index > 0 else None
        if not fence:
            text = snippet(page, lines[index]) if marker else None
            if text is not None:
                blocks.append(Block(page, index + 1, "snippet", text, marker.group(1)))
            index += 1
            continue
        end = next((i for i in range(index + 1, len(lines)) if lines[i].startswith(fence.group(1))), len(lines))
        block = Block(page, index + 1, fence.group(2), "\n".join(lines[index + 1 : end]) + "\n",
                      marker.group(1) if marker else "")
        if not marker:
            problems.append(f"{block.where()}: a block without a doc-test marker (run, file NAME, skip: REASON)")
        elif (block.action not in ("run", "file", "skip:") or (block.action == "file" and not block.file_name)
              or (block.action != "skip:" and block.unknown_options)):
            problems.append(f"{block.where()}: unknown doc-test marker '{marker.group(1)}'")
        elif block.action == "run" and block.language != "sh":
            problems.append(f"{block.where()}: only sh blocks run, not '{block.language}'")
        blocks.append(block)
        index = end + 1
    if problems:
        sys.exit("\n".join(problems))
    return blocks


def for_qt5(text):
    for pattern, replacement in QT5_NAMES:
        text = pattern.sub(replacement, text)
    return text


def command_line(line):
    """The bash lines for one documented line, with the check its annotation asks for."""
    prints = re.search(r"\s#\s*prints:\s*(.*)$", line)
    if prints:
        command = line[: prints.start()].rstrip()
        expected = shlex.quote(prints.group(1).strip())
        return (f"status=0; out=$({command} 2>&1) || status=$?; printf '%s\\n' \"$out\"\n"
                f"[ $status -eq 0 ] || {{ echo \"exit status $status of: \"{shlex.quote(command)}; exit 1; }}\n"
                f"[[ \"$out\" == *{expected}* ]] || {{ echo \"expected {expected} from: \"{shlex.quote(command)}; exit 1; }}\n")
    window = re.search(r"\s#\s*opens the window\s*$", line)
    if window:
        command = line[: window.start()].rstrip()
        return (f"status=0; timeout {WINDOW_SECONDS} {command} 2>window.log || status=$?; cat window.log\n"
                f"[ $status -eq 124 ] || {{ echo \"the window closed with exit status $status: \"{shlex.quote(command)}; exit 1; }}\n"
                f"! grep -E 'qrc:|file:|Warning|Error' window.log\n")
    return line + "\n"


def script_of(blocks, work_dir, qt5):
    """One bash script of BLOCKS for the pass in WORK_DIR."""
    script = ["set -euo pipefail\n"]
    for block in blocks:
        text = for_qt5(block.text) if qt5 else block.text
        script.append(f"echo '--- {block.where()}{' (Qt 5)' if qt5 else ''}'\n")
        if block.action == "file":
            script.append(f"cd {shlex.quote(str(work_dir))}\ncat > {shlex.quote(block.file_name)} <<'DOC_TEST_EOF'\n"
                          f"{text}DOC_TEST_EOF\n")
        else:
            script.append(f"cd {shlex.quote(str(SOURCE_DIR if block.in_source else work_dir))}\n")
            script.append("".join(command_line(line) for line in re.sub(r"\\\n", " ", text).splitlines()))
    return "".join(script)


def run_pass(name, blocks, work_dir, qt5):
    (work_dir / "home").mkdir(parents=True)
    script = work_dir / "doc-test.sh"
    script.write_text(script_of(blocks, work_dir, qt5))
    print(f"=== {name}", flush=True)
    return subprocess.run(["bash", str(script)], env=user_environment(work_dir / "home")).returncode == 0


def user_environment(home):
    """A new user's environment: no search paths set by hand, no display, settings in HOME."""
    env = {key: value for key, value in os.environ.items()
           if key not in ("LD_LIBRARY_PATH", "PKG_CONFIG_PATH", "CMAKE_PREFIX_PATH", "QML_IMPORT_PATH",
                          "QML2_IMPORT_PATH", "XDG_CONFIG_HOME")}
    env.update(QT_QPA_PLATFORM="offscreen", HOME=str(home))
    return env


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    if os.environ.get("DOC_TEST_PRIVATE_OPT") != "1":
        # Again, in a mount namespace of its own with a fresh /opt.
        env = dict(os.environ, DOC_TEST_PRIVATE_OPT="1")
        command = ["unshare", "--mount", "--propagation", "private", "sh", "-c",
                   'mount -t tmpfs doc-test /opt && exec "$@"', "sh", sys.executable, *sys.argv]
        sys.exit(subprocess.run(command, env=env).returncode)
    work_root = Path(sys.argv[1]).resolve()
    pages = sys.argv[2:] or sorted(str(p.relative_to(SOURCE_DIR)) for p in SOURCE_DIR.glob("docs/*.md"))
    # The README first: the other pages use the library that it installs.
    pages = ["README.md"] + [page for page in pages if page != "README.md"]
    subprocess.run(["rm", "-rf", str(work_root)], check=True)
    page_blocks = {page: [b for b in blocks_of(page) if b.action != "skip:"] for page in pages}
    failed = []
    for page, blocks in page_blocks.items():
        for qt5, name, pass_blocks in ((False, page, blocks), (True, f"{page} (Qt 5)", [b for b in blocks if b.qt5])):
            work_dir = work_root / page.replace("/", "-") / ("qt5" if qt5 else "qt6")
            if pass_blocks and not run_pass(name, pass_blocks, work_dir, qt5=qt5):
                failed.append(name)
    if failed:
        sys.exit(f"failed: {', '.join(failed)}")
    print("every documented command ran as written")


if __name__ == "__main__":
    main()
