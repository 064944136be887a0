#!/usr/bin/env bash
# Builds drilbank and runs every test: the core and window suites, then both again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the core's suite cross-built for
# Windows and run under Wine, with the Win32 window; a session on a real SMB share; last the
# packages, installed and
# removed again. The benchmarks are built, not run.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRILBANK_GUI=ON -DDRILBANK_BENCH=ON
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRILBANK_SANITIZE=ON \
    -DDRILBANK_GUI=ON -DDRILBANK_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

scripts/test-windows.sh
# A session on a real SMB share served and mounted here, through the core and through the
# Win32 window under Wine (skipped, saying so, without FUSE).
scripts/test-smb-share.sh build build-windows
scripts/test-packages.sh
