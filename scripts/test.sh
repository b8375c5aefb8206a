#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Installs what is missing, builds the library for Qt 6 and Qt 5, runs every
# test (the ABI check among them) and builds the API documentation (failing on
# any Doxygen warning), checks the installed tree and the Debian packages, then
# runs the tests again under AddressSanitizer+UndefinedBehaviorSanitizer and
# under ThreadSanitizer, and runs every fuzz target over its seed inputs.
# First it checks that every file carries its license information (reuse lint)
# and that every C++ file matches .clang-format.
#   scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "=== license information of every file"
reuse lint

echo "=== formatting"
# Every C++ file of the repository laid out as .clang-format says.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

run_preset() {
    local preset=$1
    shift
    echo "=== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" "$@"
}

run_preset qt6
cmake --build --preset qt6 --target docs
run_preset qt5 --label-exclude camera-e2e
cmake --build --preset qt5 --target docs

echo "=== both Qt builds and the SDK stand-ins in one prefix, and a build against an installed SDK"
cmake -DQT6_BUILD_DIR=build/qt6 -DQT5_BUILD_DIR=build/qt5 -DWORK_DIR=build/package -P tests/package/InstallAndConsume.cmake
echo "=== Debian packages of both Qt builds: lintian, one root, the application against it"
cmake -DQT6_BUILD_DIR=build/qt6 -DQT5_BUILD_DIR=build/qt5 -DWORK_DIR=build/debian -P tests/package/DebianPackages.cmake
run_preset asan
run_preset tsan

echo "=== fuzz targets over their seeds"
scripts/fuzz.sh 0
echo "=== all tests passed"
