#!/usr/bin/env bash
# Makes a class of sixty through the program's own core (tests/support/ClassMaker), its class
# list and a due time, writes the class report with drilbank-records and photographs it in
# Debian's chromium, headless, at 1280x800 into docs/report.png for the README. Run by hand,
# not by CI; installs chromium when it is missing. The page is opened from a file: no
# network, no scripts.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v chromium >/dev/null; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends chromium
fi
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target drilbank-records drilbank_make_class >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build/tests/drilbank_make_class "$work" 60 04-20-2003
build/src/instructor/drilbank-records report --class-list "$work/class-list.csv" \
    --due 2003-04-20T23:59 --output "$work/class.html" "$work/class" || true

flags=(--headless --disable-gpu --disable-quic --no-first-run --disable-background-networking
    --disable-component-update --disable-sync "--user-data-dir=$work/profile"
    --window-size=1280,800 "--screenshot=$PWD/docs/report.png")
if [ "$(id -u)" -eq 0 ]; then flags+=(--no-sandbox); fi
chromium "${flags[@]}" "file://$work/class.html"
echo "docs/report.png written"
