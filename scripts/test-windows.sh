#!/usr/bin/env bash
# Cross-builds the core and its tests for 64-bit Windows with mingw-w64 into build-windows/
# and runs every core test under Wine. Its last lines are ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --windows

build=build-windows
jobs=$(nproc)
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRILBANK_GUI=OFF -DDRILBANK_BENCH=OFF \
    -DDRILBANK_GTEST_SOURCE=/usr/src/googletest

source scripts/wine-prefix.sh

# Building also lists the tests, which runs the test program under Wine.
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs" </dev/null
