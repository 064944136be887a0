#!/usr/bin/env bash
# Takes a picture of drilbank.exe as a student sees it: under Wine's X11 driver on a virtual
# display with a small window manager, after the four start-up boxes and the first question,
# an answer typed and the focus moved by Tab to "Enter Response".
# Writes docs/drilbank-windows.png (or the path given). Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/drilbank-windows.png}

scripts/install-deps.sh --screenshot
if [ ! -f build-windows/CMakeCache.txt ]; then
    cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRILBANK_GUI=OFF -DDRILBANK_BENCH=OFF \
        -DDRILBANK_GTEST_SOURCE=/usr/src/googletest
fi
cmake --build build-windows --target drilbank

# A prefix of its own with the X11 driver; the tests' prefix uses the null driver.
export WINEPREFIX="$PWD/build-windows/wine-x11" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() {
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
sleep 1
openbox >/dev/null 2>&1 &
sleep 1
mkdir -p "$WINEPREFIX"
"$wine" wineboot --init </dev/null >/dev/null 2>&1

"$wine" build-windows/src/win32/drilbank.exe </dev/null >/dev/null 2>&1 &
answer() {
    local box
    box=$(xdotool search --sync --onlyvisible --name '^drilbank$' | head -1)
    xdotool windowactivate --sync "$box" 2>/dev/null || xdotool windowfocus --sync "$box"
    sleep 0.3
    xdotool type --delay 20 "$1"
    xdotool key Return
    sleep 0.5
}
answer 1
answer "Ann Lee Smith"
answer ALS
answer 1
form=$(xdotool search --sync --onlyvisible --name '^Form1$' | head -1)
xdotool windowactivate --sync "$form" 2>/dev/null || xdotool windowfocus --sync "$form"
sleep 0.5
# "Next Question / Answer", then the answer box (their middles, in pixels at 96 DPI).
xdotool mousemove --window "$form" 48 24 click 1
sleep 0.5
xdotool mousemove --window "$form" 544 223 click 1
xdotool type --delay 20 "Twice as deep: 11 cm."
# Tab twice, past "Next Question / Answer" to "Enter Response", which shows the focus.
xdotool key Tab
sleep 0.3
xdotool key Tab
xdotool mousemove --window "$form" 600 650
sleep 0.5
mkdir -p "$(dirname "$output")"
# The window with the window manager's frame around it, its dark border included.
import -window "$form" -frame "$output"
echo "$output"
