#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Builds the 'fuzz' preset and runs every libFuzzer target for SECONDS each
# (default 60). Fails when a target finds a crash, a sanitizer report or a leak.
# New inputs go to build/fuzz/corpus/TARGET; fuzz/corpus/TARGET holds a
# minimised corpus kept with the sources (refresh it with libFuzzer's -merge=1).
# With SECONDS 0 each target runs over its seed inputs only, which is quick and
# repeatable (the test script does that). Then valgrind replays the layout
# target's corpus and seeds in the qt6 preset's build, since the sanitizers
# cannot see memory errors inside Qt, which is not built with them.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(find build/fuzz/fuzz -maxdepth 1 -type f -executable -name 'fuzz_*' -printf '%f\n' | sort)
fi
mkdir -p build/fuzz/corpus build/fuzz/artifacts
if [ "$seconds" -eq 0 ]; then
    limit=(-runs=0)
else
    limit=(-max_total_time="$seconds")
fi
for target in "${targets[@]}"; do
    corpus=build/fuzz/corpus/$target
    mkdir -p "$corpus"
    seeds=()
    for dir in "fuzz/corpus/$target" "fuzz/seeds/$target"; do
        [ -d "$dir" ] && seeds+=("$dir")
    done
    echo "== $target: ${seconds}s"
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
        "build/fuzz/fuzz/$target" "${limit[@]}" -print_final_stats=1 \
        -artifact_prefix=build/fuzz/artifacts/"$target"- "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
done

if [[ " ${targets[*]} " == *" fuzz_layoutrestore "* ]]; then
    echo "== fuzz_layoutrestore corpus under valgrind"
    cmake --preset qt6 >/dev/null
    cmake --build --preset qt6 --target replay_layoutrestore
    QT_QPA_PLATFORM=offscreen valgrind --error-exitcode=1 --leak-check=no --quiet \
        build/qt6/fuzz/replay_layoutrestore build/fuzz/corpus/fuzz_layoutrestore fuzz/corpus/fuzz_layoutrestore \
        fuzz/seeds/fuzz_layoutrestore
fi
