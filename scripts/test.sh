#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs what is missing, then runs every check of the project one step after
# another: license information, formatting and spelling; the workflow presets
# qt6 and qt5 (configure, build, every test, the ABI check among them) and the
# API documentation of both; the installed tree, the commands of README.md and
# docs/*.md as written, and the Debian packages of both builds; the Python
# module's tests; the tests under ASan/UBSan and under TSan; the fuzz targets
# over their seeds; the 32-bit x86 builds of both (their unit tests, their
# installed tree, their Debian packages; natively, or under qemu-i386 on a
# kernel that runs no 32-bit programs: scripts/i386-exec.sh) and a clang build
# of Qt 6. A failed step does not stop the others: the script ends with a
# summary of every step (passed, failed or skipped, and its time) and exits
# with 1 when any step failed.
#   scripts/test.sh              every step
#   scripts/test.sh qt6 docs-qt6 only these steps, in this order
#   scripts/test.sh --list       the steps
set -uo pipefail
cd "$(dirname "$0")/.."

all_steps=(reuse format codespell qt6 docs-qt6 qt5 docs-qt5 install docs debian python asan tsan fuzz-seeds
    qt6-i386 qt5-i386 install-i386 debian-i386 clang)

# The steps that need others of the same run to have passed first.
declare -A needs=([install]="qt6 qt5" [docs]="qt6 qt5" [debian]="qt6 qt5")
needs[install-i386]="qt6-i386 qt5-i386"
# The i386 packages are installed beside the amd64 ones that the step debian makes.
needs[debian-i386]="debian"

run_step() {
    case $1 in
    reuse) reuse lint ;;
    format) git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror ;;
    codespell) codespell ;;
    qt6 | qt5 | docs-qt6 | docs-qt5 | asan | tsan | qt6-i386 | qt5-i386 | clang) cmake --workflow --preset "$1" ;;
    install)
        cmake -DQT6_BUILD_DIR=build/qt6 -DQT5_BUILD_DIR=build/qt5 -DWORK_DIR=build/package \
            -P tests/package/InstallAndConsume.cmake
        ;;
    docs) tests/package/docs_test.py build/docs-test ;;
    install-i386)
        cmake -DQT6_BUILD_DIR=build/qt6-i386 -DQT5_BUILD_DIR=build/qt5-i386 -DWORK_DIR=build/package-i386 \
            -DTOOLCHAIN_FILE=cmake/i386-linux-gnu.cmake -P tests/package/InstallAndConsume.cmake
        ;;
    debian-i386)
        cmake -DWORK_DIR=build/debian-i386 -DTOOLCHAIN_FILE=cmake/i386-linux-gnu.cmake \
            -P tests/package/DebianPackages.cmake \
            && cmake -DWORK_DIR=build/debian-i386 -DAMD64_WORK_DIR=build/debian \
                -DTOOLCHAIN_FILE=cmake/i386-linux-gnu.cmake -P tests/package/DebianSideBySide.cmake
        ;;
    debian)
        cmake -DWORK_DIR=build/debian -P tests/package/DebianPackages.cmake
        ;;
    python)
        # Builds only the module and what it links to, in the qt6 build.
        cmake --preset qt6 >/dev/null && cmake --build build/qt6 --target tavixqtbase_python \
            && ctest --test-dir build/qt6 -L python --output-on-failure
        ;;
    fuzz-seeds) scripts/fuzz.sh 0 ;;
    *)
        echo "unknown step $1; the steps: ${all_steps[*]}" >&2
        return 2
        ;;
    esac
}

if [ "${1:-}" = "--list" ]; then
    printf '%s\n' "${all_steps[@]}"
    exit 0
fi
steps=("$@")
if [ $# -eq 0 ]; then
    steps=("${all_steps[@]}")
fi

declare -A outcome seconds
if ! scripts/install-deps.sh; then
    echo "scripts/install-deps.sh failed: no step can run" >&2
    exit 1
fi

for step in "${steps[@]}"; do
    missing=""
    for needed in ${needs[$step]:-}; do
        if [[ " ${steps[*]} " == *" $needed "* && "${outcome[$needed]:-}" != passed ]]; then
            missing+=" $needed"
        fi
    done
    if [ -n "$missing" ]; then
        outcome[$step]="skipped (needs:$missing)"
        seconds[$step]=0
        continue
    fi
    if [[ $step == *-i386 && -z ${i386_exec:-} ]]; then
        i386_exec=$(scripts/i386-exec.sh) || i386_exec=none
        echo "32-bit x86 programs run: $i386_exec"
    fi
    if [[ $step == *-i386 && $i386_exec == none ]]; then
        outcome[$step]="skipped (runs no i386 programs)"
        seconds[$step]=0
        continue
    fi
    echo "=== $step"
    start=$SECONDS
    if run_step "$step"; then
        outcome[$step]=passed
    else
        outcome[$step]=failed
    fi
    seconds[$step]=$((SECONDS - start))
done

echo "=== summary"
status=0
for step in "${steps[@]}"; do
    printf '%-12s %-30s %5d s\n' "$step" "${outcome[$step]}" "${seconds[$step]}"
    if [ "${outcome[$step]}" = failed ]; then
        status=1
    fi
done
exit $status
