#!/usr/bin/env bash
# Builds the libFuzzer targets (journal recovery among them) with clang (AddressSanitizer and UndefinedBehaviorSanitizer
# on) and runs each for a bounded time: scripts/fuzz.sh [seconds per target, default 60].
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DDRILBANK_FUZZ=ON -DDRILBANK_SANITIZE=ON \
    -DDRILBANK_GUI=OFF -DDRILBANK_BENCH=OFF
cmake --build build-fuzz -j "$(nproc)"

for target in build-fuzz/tests/fuzz/*Fuzz; do
    corpus="build-fuzz/corpus/$(basename "$target")"
    mkdir -p "$corpus"
    if [ "$(basename "$target")" = RecordFileFuzz ]; then
        # Whole record files to start from; the first byte tells the kind of file.
        for kind in 0 1 2; do
            for file in tests/data/session/*.txt; do
                { printf "\\x0$kind"; cat "$file"; } >"$corpus/seed-$kind-$(basename "$file")"
            done
        done
    fi
    echo "== $(basename "$target"): ${seconds}s"
    "$target" -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 "$corpus" 2>&1 |
        grep -E 'stat::number_of_executed_units|Done|ERROR|SUMMARY' || true
    test "${PIPESTATUS[0]}" -eq 0
done
