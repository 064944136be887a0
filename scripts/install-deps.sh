#!/usr/bin/env bash
# Installs, from Debian's packages, whatever building, running and testing drilbank needs
# and this machine lacks. Safe to run again: it only installs what is missing. With
# --windows, only what the Windows cross build, its packages and its run under Wine need;
# with --screenshot, that and what the Windows screenshot needs.
set -euo pipefail

# The Windows window's icon is drawn at build time (librsvg2-bin, icoutils); its installer is
# made with NSIS; zip packs the download.
windows_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 googletest
    librsvg2-bin icoutils nsis zip unzip)
# Only for scripts/screenshot-windows.sh: a window manager, a keyboard, a camera.
screenshot_packages=(xvfb openbox xdotool imagemagick)
packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev libicu-dev libxlsxwriter-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev libqt6svg6
    fonts-liberation
    clang libclang-rt-14-dev
    xvfb xauth
    "${windows_packages[@]}"
)
if [ "${1:-}" = "--windows" ]; then
    packages=("${windows_packages[@]}")
elif [ "${1:-}" = "--screenshot" ]; then
    packages=("${windows_packages[@]}" "${screenshot_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
