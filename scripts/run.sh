#!/usr/bin/env bash
# Builds drilbank and starts it on this desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target drilbank
exec ./build/src/app/drilbank "$@"
