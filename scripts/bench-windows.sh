#!/usr/bin/env bash
# Measures drilbank.exe under Wine with the null graphics driver, each cost beside its floor
# in this same run: its size; launch to the first start-up box the student sees, launch to
# the form shown after four boxes answered at once, and the last box's OK to the form shown
# when each box is read for 200 ms first (what the student waits for), each beside a bare
# window of one control, a program of its own with the same manifest; the launch to the form
# and its peak memory beside a program of the same manifest that shows the same controls,
# stock (medians of alternating fresh starts); an "Enter Response" click as the core records it through the Windows file
# layer (as the Linux benchmark measures a click) and the same click through the window, each
# beside the floor of its appends, and the file layer's calls per click. Ratios at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-11}

scripts/install-deps.sh --windows
if [ ! -f build-windows/CMakeCache.txt ]; then
    cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRILBANK_GUI=OFF -DDRILBANK_BENCH=OFF \
        -DDRILBANK_GTEST_SOURCE=/usr/src/googletest
fi
cmake --build build-windows -j "$(nproc)" --target drilbank win32_window_bench win32_bare_window \
    win32_bare_form \
    >/dev/null
source scripts/wine-prefix.sh

probe=build-windows/bench/win32/win32_window_bench.exe
bare_window=build-windows/bench/win32/win32_bare_window.exe
bare_form=build-windows/bench/win32/win32_bare_form.exe
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; stop_wine' EXIT
run() { "$wine" "$probe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
run_bare() { "$wine" "$bare_window" </dev/null 2>/dev/null | tr -d '\r'; }
run_form() { "$wine" "$bare_form" </dev/null 2>/dev/null | tr -d '\r'; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

run_bare >/dev/null # a warm server and file cache for both
mkdir -p "$scratch/warm"
run first-box "$(windows_path "$scratch/warm")" >/dev/null
bare=()
first=()
program=()
memory=()
form=()
form_memory=()
wait=()
for round in $(seq "$rounds"); do
    bare+=("$(run_bare)")
    mkdir -p "$scratch/$round" "$scratch/first$round"
    first+=("$(run first-box "$(windows_path "$scratch/first$round")")")
    # Each run ends before the next starts: a reader of its first line alone would not wait.
    read -r shown _ peak <<<"$(run window "$(windows_path "$scratch/$round")")"
    program+=("$shown")
    memory+=("$peak")
    read -r shown peak <<<"$(run_form)"
    form+=("$shown")
    form_memory+=("$peak")
    mkdir -p "$scratch/read$round"
    read -r _ waited <<<"$(run window-read "$(windows_path "$scratch/read$round")")"
    wait+=("$waited")
done
bare_ms=$(printf '%s\n' "${bare[@]}" | median)
first_ms=$(printf '%s\n' "${first[@]}" | median)
program_ms=$(printf '%s\n' "${program[@]}" | median)
memory_kb=$(printf '%s\n' "${memory[@]}" | median)
form_ms=$(printf '%s\n' "${form[@]}" | median)
form_kb=$(printf '%s\n' "${form_memory[@]}" | median)
wait_ms=$(printf '%s\n' "${wait[@]}" | median)
mkdir -p "$scratch/click" "$scratch/counts"
read -r click_ms floor_ms <<<"$(run click "$(windows_path "$scratch/click")")"
mkdir -p "$scratch/core"
read -r core_ms core_floor_ms <<<"$(run core-click "$(windows_path "$scratch/core")")"
echo "the file layer's calls in an \"Enter Response\" click:"
"$wine" "$probe" counts "$(windows_path "$scratch/counts")" </dev/null 2>&1 >/dev/null | tr -d '\r'
size=$(stat -c %s build-windows/src/win32/drilbank.exe)

printf '%-44s %12s %12s %8s\n' measure cost floor ratio
printf '%-44s %12s %12s %8s\n' "drilbank.exe bytes (goal: under 2 MB)" "$size" 2097152 \
    "$(awk -v a="$size" 'BEGIN { printf "%.2f", a / 2097152 }')"
printf '%-44s %12s %12s %8s\n' "launch to first box shown, ms (goal: 1.2)" "$first_ms" "$bare_ms" \
    "$(awk -v a="$first_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", a / b }')"
printf '%-44s %12s %12s %8s\n' "launch to form after four boxes, ms" "$program_ms" "$form_ms" \
    "$(awk -v a="$program_ms" -v b="$form_ms" 'BEGIN { printf "%.2f", a / b }')"
printf '%-44s %12s %12s %8s\n' "peak working set, KB (goal: 1.1)" "$memory_kb" "$form_kb" \
    "$(awk -v a="$memory_kb" -v b="$form_kb" 'BEGIN { printf "%.2f", a / b }')"
printf '%-44s %12s %12s %8s\n' "last box's OK to form shown, ms (goal: 16)" "$wait_ms" 16 \
    "$(awk -v a="$wait_ms" 'BEGIN { printf "%.2f", a / 16 }')"
printf '%-44s %12s %12s %8s\n' "Enter Response click, ms (goal: 1.2)" "$core_ms" "$core_floor_ms" \
    "$(awk -v a="$core_ms" -v b="$core_floor_ms" 'BEGIN { printf "%.2f", a / b }')"
printf '%-44s %12s %12s %8s\n' "the same click through the window, ms" "$click_ms" "$floor_ms" \
    "$(awk -v a="$click_ms" -v b="$floor_ms" 'BEGIN { printf "%.2f", a / b }')"
