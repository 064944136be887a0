#!/usr/bin/env bash
# Makes the class report of a small sample class with drilbank-records and photographs it in
# Debian's chromium, headless, into docs/report.png for the README. Run by hand, not by CI;
# installs chromium when it is missing. The page is opened from a file: no network, no scripts.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v chromium >/dev/null; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends chromium
fi
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target drilbank-records >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Three students from the golden sessions: one as written, one renamed with accents, and one
# in Cyrillic whose send file was cut short on its way, so the report shows a problem row.
class="$work/class"
mkdir -p "$class/ann" "$class/jose" "$class/anna"
cp tests/data/session/*.txt "$class/ann/"
rename_student() { # from-folder to-folder name-in-file name-in-file-names
    for file in "$1"/*.txt; do
        base=$(basename "$file")
        perl -pe "s/Ann Lee Smith/$3/g" "$file" >"$2/${base/Ann_Lee_Smith/$4}"
    done
}
rename_student tests/gui/golden "$class/jose" 'Jos\xE9 N\xFA\xF1ez' 'José_Núñez'
rename_student tests/data/session "$class/anna" \
    '&#1040;&#1085;&#1085;&#1072; &#1025;&#1083;&#1082;&#1072;' 'Анна_Ёлка'
truncate -s -40 "$class/anna/send_0416Анна_Ёлка.txt"
perl -pi -e 's/check it with/checked with/' "$class/anna/notes_Анна_Ёлка.txt"

build/src/instructor/drilbank-records report --output "$work/class.html" "$class" || true

flags=(--headless --disable-gpu --disable-background-networking --disable-component-update
    --disable-sync --no-first-run "--user-data-dir=$work/profile" --hide-scrollbars
    --window-size=1400,1000 "--screenshot=$PWD/docs/report.png")
if [ "$(id -u)" -eq 0 ]; then flags+=(--no-sandbox); fi
chromium "${flags[@]}" "file://$work/class.html"
echo "docs/report.png written"
