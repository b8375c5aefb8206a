#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Writes the crafted header states among the layout fuzz target's seeds,
fuzz/seeds/fuzz_layoutrestore/refused-*: damaged states that would make
QHeaderView::restoreState() of Qt 5.15 or 6.4 allocate without bound or read
or write outside its memory, each of which restoreHeaderLayout() must refuse;
and taken-*: unusual states that it takes safely, which restoreHeaderLayout()
must apply. The layout tests restore each into a table of three rows and five
columns, as the fuzz target does, and valgrind replays them in the test script.
  scripts/make-layout-seeds.py
"""
import pathlib
import struct


def ints(*values):
    return b"".join(struct.pack(">I", value & 0xFFFFFFFF) for value in values)


def header_state(indices=ints(0, 0), hidden=ints(0), length=0, stored_count=0, items=ints(0)):
    """A state in QHeaderView's stream layout as Qt writes it, with the given
    raw index lists, bit array of hidden sections and section items."""
    start = ints(0xFF, 0, 1, 0, 0xFFFFFFFF) + b"\0"  # marker, version, horizontal, ascending, no sort section
    no_hidden_sizes = ints(0)
    flags = b"\0\1\0\0\0"
    counts_sizes_alignment_mode = ints(0, 0, 100, 30, 0x84, 0)
    return (start + indices + hidden + no_hidden_sizes + ints(length, stored_count) + flags
            + counts_sizes_alignment_mode + items)


def item(size, span):
    return ints(size, span, 0)


# One item of five sections of 20 pixels: as many sections as the table has columns.
five_sections = ints(1) + item(100, 5)


def index_lists(visual, logical):
    return ints(len(visual), *visual) + ints(len(logical), *logical)


REFUSED = {
    # The reader sets a hidden flag for each bit, past the five sections; the
    # unused section count field agrees with the bits.
    "hidden-bits-beyond-sections": header_state(
        hidden=ints(4096) + b"\xff" * 512, length=100, stored_count=4096, items=five_sections),
    "index-lists-shorter-than-sections": header_state(
        indices=index_lists([1, 0], [1, 0]), length=100, items=five_sections),
    "index-out-of-range": header_state(
        indices=index_lists([0, 1, 2, 3, 9], [0, 1, 2, 3, 9]), length=100, items=five_sections),
    "only-a-visual-index-list": header_state(
        indices=index_lists([4, 0, 1, 2, 3], []), length=100, items=five_sections),
    # Each list a permutation of the sections, but not the other's inverse. The
    # item's size has a bit beyond the 20 bits in which the reader keeps it.
    "index-lists-not-each-others-inverse": header_state(
        indices=index_lists([1, 0, 2, 3, 4], [0, 1, 2, 3, 4]), length=100, items=ints(1) + item(0x100000 | 100, 5)),
    # Reserving room for what these announce would take 16 and 32 GiB.
    "four-billion-visual-indices": header_state(indices=ints(0xFFFFFFFF, 0)),
    "four-billion-section-items": header_state(items=ints(0xFFFFFFFF)),
    "one-item-spanning-two-billion-sections": header_state(items=ints(1) + item(100, 0x7FFFFFFF)),
    # Read with Qt 6's 64-bit bit array length, which restoreState() tries
    # when the 32-bit reading fails: -1, near 2^63, and a length that Qt 5
    # overflows when it rounds it up to whole bytes in 32 bits.
    "negative-hidden-length": header_state(hidden=b"\xff" * 8),
    "hidden-length-near-2-63": header_state(hidden=bytes.fromhex("7fffffffffffffff")),
    "hidden-length-overflowing-32-bits": header_state(hidden=ints(0xFFFFFFFC)),
}

TAKEN = {
    # Three sections, the first two swapped, with a hidden bit for each of the
    # model's five, and an item of no sections last, where the data ends.
    "fewer-sections-than-the-model": header_state(
        indices=index_lists([1, 0, 2], [1, 0, 2]), hidden=ints(5) + b"\0", length=300,
        items=ints(2) + item(300, 3) + item(0, 0)),
    # As many sections as a header of fewer may take.
    "65536-sections": header_state(items=ints(1) + item(0, 65536)),
}


def main():
    seeds = pathlib.Path(__file__).resolve().parent.parent / "fuzz" / "seeds" / "fuzz_layoutrestore"
    for kind, states in (("refused", REFUSED), ("taken", TAKEN)):
        for name, state in states.items():
            (seeds / f"{kind}-{name}").write_bytes(state)


if __name__ == "__main__":
    main()
