#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them; the table at the end holds each
# cost beside its floor, measured in this same run. Extra arguments go to the benchmark
# program, e.g. --benchmark_filter=Click.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRILBANK_BENCH=ON
cmake --build build-bench -j "$(nproc)" --target drilbank_bench
QT_QPA_PLATFORM=offscreen ./build-bench/bench/drilbank_bench "$@"
