#!/usr/bin/env bash
# Builds the 'fuzz' preset and runs every libFuzzer target for SECONDS each
# (default 60). Fails when a target finds a crash, a sanitizer report or a leak.
# With SECONDS 0 each target runs over its seed inputs only, which is quick and
# repeatable (the test script does that).
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
    [ -d "fuzz/seeds/$target" ] && seeds=("fuzz/seeds/$target")
    echo "== $target: ${seconds}s"
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
        "build/fuzz/fuzz/$target" "${limit[@]}" -print_final_stats=1 \
        -artifact_prefix=build/fuzz/artifacts/"$target"- "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
done
