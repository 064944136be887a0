#!/usr/bin/env bash
# Builds what a user installs, into dist/:
#   drilbank-VERSION-windows-x64.zip    drilbank.exe, drilbank-records.exe and a read-me
#   drilbank-VERSION-windows-x64-setup.exe   the per-user Windows installer (NSIS)
#   drilbank_VERSION_amd64.deb           both programs for Debian, with desktop entry and icon
# It reuses build/ and build-windows/ when scripts/test.sh made them, and builds only the
# programs otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
version=$(sed -n 's/^project(drilbank VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist=$PWD/dist
rm -rf "$dist"
mkdir -p "$dist"

if [ ! -f build-windows/CMakeCache.txt ]; then
    cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRILBANK_GUI=OFF -DDRILBANK_BENCH=OFF \
        -DDRILBANK_GTEST_SOURCE=/usr/src/googletest
fi
cmake --build build-windows -j "$jobs" --target drilbank drilbank-records

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build-windows/src/win32/drilbank.exe build-windows/src/win32/drilbank.ico "$stage/"
x86_64-w64-mingw32-strip -o "$stage/drilbank-records.exe" \
    build-windows/src/instructor/drilbank-records.exe
sed "s/\${VERSION}/$version/" packaging/windows/README.txt.in >"$stage/README.txt"

windows=drilbank-$version-windows-x64
(cd "$stage" && zip -q -X "$dist/$windows.zip" drilbank.exe drilbank-records.exe README.txt)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$dist/$windows-setup.exe" \
    packaging/windows/drilbank.nsi

if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRILBANK_GUI=ON
fi
cmake --build build -j "$jobs" --target drilbank drilbank-records
(cd build && cpack -B "$dist/cpack" >/dev/null)
mv "$dist"/cpack/*.deb "$dist/"
rm -rf "$dist/cpack"
ls -l "$dist"
