# Sourced by the Windows scripts: a Wine of our own in build-windows/wine, with the null
# graphics driver, so that windows, boxes, fonts and the clipboard work in-process with no
# X display at all. Nothing of the user's is touched, and root on a clean CI machine gets a
# prefix it owns. One server is kept until the calling script ends, so each program starts
# in a fraction of a second; the first start makes the prefix. Wine's background services
# outlive a program, so they must not hold the script's output open.
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_tools=/usr/lib/wine
wine=$wine_tools/wine64
stop_wine() { "$wine_tools/wineserver" -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT
mkdir -p "$WINEPREFIX"
new_prefix=$([ -f "$WINEPREFIX/user.reg" ] || echo yes)
"$wine_tools/wineserver" -p </dev/null >/dev/null 2>&1
"$wine" wineboot --init </dev/null >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
# A new prefix's desktop and services were started before the null driver was set, and
# would refuse every window: start them again, here, where they hold no caller's output.
if [ -n "$new_prefix" ]; then
    stop_wine
    "$wine_tools/wineserver" -p </dev/null >/dev/null 2>&1
    "$wine" wineboot </dev/null >/dev/null 2>&1
fi
