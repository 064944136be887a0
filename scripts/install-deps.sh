#!/usr/bin/env bash
# Installs, from Debian's packages, whatever building, running and testing drilbank needs
# and this machine lacks. Safe to run again: it only installs what is missing. With
# --windows, only what the Windows cross build, its packages and its run under Wine need;
# with --screenshot, that and what the Windows screenshot needs.
set -euo pipefail
cd "$(dirname "$0")/.."

# The Windows window's icon is drawn at build time (librsvg2-bin, icoutils); its installer is
# made with NSIS; zip packs the download. The Windows drilbank-records writes xlsx through
# libxlsxwriter built from Debian's source package against Debian's mingw zlib; dpkg-dev
# unpacks that source.
windows_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine64 googletest
    librsvg2-bin icoutils nsis zip unzip dpkg-dev libz-mingw-w64-dev)
# A real SMB share in the tests: Samba serves it, smbnetfs mounts it through FUSE.
# Only for scripts/screenshot-windows.sh: a window manager, a keyboard, a camera.
screenshot_packages=(xvfb openbox xdotool imagemagick)
packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev libicu-dev libxlsxwriter-dev zlib1g-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev libqt6svg6
    fonts-liberation
    clang libclang-rt-14-dev
    xvfb xauth
    samba smbnetfs fuse3
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

# libxlsxwriter's source, unpacked once into a folder git ignores (the Windows build's
# CMake looks for it there), and reused while it is there.
xlsxwriter_source=build-deps/libxlsxwriter
need_source=false
if [ ! -f "$xlsxwriter_source/CMakeLists.txt" ]; then need_source=true; fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
if $need_source && ! grep -qrs --include='*.list' --include='*.sources' -E \
    '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d; then
    # apt's source tools need Debian's deb-src entries: the same archives as the binaries.
    binaries=/etc/apt/sources.list.d/debian.sources
    if [ -f "$binaries" ]; then
        sed 's/^Types: deb$/Types: deb-src/' "$binaries"
    else
        printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
            'Suites: bookworm bookworm-updates' 'Components: main' \
            'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg'
    fi | $sudo tee /etc/apt/sources.list.d/drilbank-src.sources >/dev/null
fi

if ((${#missing[@]})) || $need_source; then
    $sudo apt-get update
fi
if ((${#missing[@]})); then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
if $need_source; then
    fetch=$(mktemp -d build-deps.XXXXXX)
    (cd "$fetch" && apt-get source -qq libxlsxwriter)
    rm -rf "$xlsxwriter_source"
    mkdir -p build-deps
    mv "$fetch"/libxlsxwriter-*/ "$xlsxwriter_source"
    rm -rf "$fetch"
fi
