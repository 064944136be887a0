#!/usr/bin/env bash
# Builds the packages (scripts/package.sh) and installs each as its user would, then removes
# it again: the Windows installer silently under Wine, the Debian package with dpkg when run
# as root (as CI is, on a machine of its own), otherwise unpacked into a throwaway root.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/package.sh >/dev/null
version=$(sed -n 's/^project(drilbank VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist=$PWD/dist
fail() { echo "test-packages: $*" >&2; exit 1; }

# The zip holds the two programs and the read-me, nothing else.
unzip -Z1 "$dist/drilbank-$version-windows-x64.zip" | sort | tr '\n' ' ' |
    grep -qx 'README.txt drilbank-records.exe drilbank.exe ' || fail "zip contents"
# Each program stands alone: only the system's own libraries.
for program in drilbank.exe drilbank-records.exe; do
    unzip -p "$dist/drilbank-$version-windows-x64.zip" "$program" >"$dist/$program"
    x86_64-w64-mingw32-objdump -p "$dist/$program" | sed -n 's/^\tDLL Name: //p' |
        grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|oleacc|shell32|advapi32|msvcrt|normaliz|ws2_32|bcrypt)\.dll$' &&
        fail "$program needs a library Windows does not have"
    rm "$dist/$program"
done
# The window carries its icon, version and manifest (types 14, 16 and 24).
unzip -p "$dist/drilbank-$version-windows-x64.zip" drilbank.exe >"$dist/drilbank.exe"
for type in 14 16 24; do
    wrestool -l "$dist/drilbank.exe" | grep -q -- "--type=$type " || fail "no resource of type $type"
done
rm "$dist/drilbank.exe"

# The installer, silently, as the user; then its files, Start-menu entry and uninstall entry.
source scripts/wine-prefix.sh
"$wine" "$dist/drilbank-$version-windows-x64-setup.exe" /S </dev/null >/dev/null 2>&1
user_dir=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData | grep -v /Public/ | head -1)
installed="$user_dir/Local/Programs/drilbank"
entry="$user_dir/Roaming/Microsoft/Windows/Start Menu/Programs/drilbank.lnk"
for file in drilbank.exe drilbank-records.exe README.txt uninstall.exe; do
    [ -f "$installed/$file" ] || fail "installer left out $file"
done
[ -f "$entry" ] || fail "no Start-menu entry"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\drilbank'
"$wine" reg query "$key" /v DisplayVersion </dev/null 2>/dev/null | grep -q "$version" ||
    fail "no uninstall entry"
for program in drilbank drilbank-records; do
    "$wine" "$installed/$program.exe" --version </dev/null 2>/dev/null | grep -q "$version" ||
        fail "the installed $program does not run"
done
# Help speaks of the system's own drives; an unknown option is refused, not a window opened.
help=$("$wine" "$installed/drilbank.exe" --help </dev/null 2>/dev/null | tr -d '\r')
grep -qF 'c:\drilbank,' <<<"$help" && ! grep -q DRILBANK_DRIVES <<<"$help" ||
    fail "drilbank.exe --help does not speak of Windows drives"
status=0
timeout 60 "$wine" "$installed/drilbank.exe" --bogus </dev/null >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "drilbank.exe --bogus gave $status, not 2"

# The uninstaller copies itself away and returns at once; wait for it to finish.
"$wine" "$installed/uninstall.exe" /S </dev/null >/dev/null 2>&1
for _ in $(seq 100); do
    [ -e "$installed" ] || break
    sleep 0.2
done
[ ! -e "$installed" ] || fail "uninstaller left $installed"
[ ! -e "$entry" ] || fail "uninstaller left the Start-menu entry"
if "$wine" reg query "$key" </dev/null >/dev/null 2>&1; then fail "uninstaller left its key"; fi

# The Debian package: both programs, the desktop entry and the icon; the program runs.
deb="$dist/drilbank_${version}_amd64.deb"
contents=$(dpkg-deb -c "$deb")
for path in usr/bin/drilbank usr/bin/drilbank-records usr/share/applications/drilbank.desktop \
    usr/share/icons/hicolor/scalable/apps/drilbank.svg; do
    grep -q "\./$path\$" <<<"$contents" || fail "the .deb lacks $path"
done
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W drilbank >/dev/null 2>&1; then
    dpkg -i "$deb" >/dev/null
    /usr/bin/drilbank --version | grep -qx "drilbank $version" || fail "installed drilbank"
    /usr/bin/drilbank-records --version | grep -q "$version" || fail "installed drilbank-records"
    dpkg -r drilbank >/dev/null
    [ ! -e /usr/bin/drilbank ] || fail "dpkg -r left /usr/bin/drilbank"
else
    root=$(mktemp -d)
    dpkg-deb -x "$deb" "$root"
    "$root/usr/bin/drilbank" --version | grep -qx "drilbank $version" || fail "unpacked drilbank"
    rm -rf "$root"
fi
echo "test-packages: zip, installer and .deb installed, run and removed cleanly"
