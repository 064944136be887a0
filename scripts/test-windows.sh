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

# A Wine of our own inside the build folder: nothing of the user's is touched, and root on a
# clean CI machine gets a prefix it owns. One server is kept for the whole run, so each test
# starts in a fraction of a second; the first start makes the prefix. Wine's background
# services outlive a program, so they must not hold this script's output open.
export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_tools=/usr/lib/wine
stop_wine() { "$wine_tools/wineserver" -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
mkdir -p "$WINEPREFIX"
"$wine_tools/wineserver" -p </dev/null >/dev/null 2>&1
"$wine_tools/wine64" wineboot --init </dev/null >/dev/null 2>&1
# The null graphics driver: windows, boxes, fonts and the clipboard work in-process with no
# X display at all, so the window's tests run on a bare CI machine.
"$wine_tools/wine64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f \
    </dev/null >/dev/null 2>&1

# Building also lists the tests, which runs the test program under Wine.
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs" </dev/null
