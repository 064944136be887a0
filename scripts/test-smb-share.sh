#!/usr/bin/env bash
# A real SMB share: serves a campus folder with smbd on the loopback under a private
# configuration of its own (smb.conf, private, lock, state and pid folders, a user added to
# its own password database), mounts it through FUSE with smbnetfs (its configuration in a
# temporary HOME/.smb), and records a session there through the core, then through the
# Win32 window of drilbank.exe under Wine, with smbd killed and started again between clicks
# and part way through a click. Where FUSE, Samba or root (smbd listens on port 445) is
# missing it says so and skips; so does the Wine part without Wine or the Windows build.
# Usage: scripts/test-smb-share.sh [linux build folder] [windows build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
windows_build=${2:-build-windows}
skip() {
    echo "SMB share test skipped: $1"
    exit 0
}
[ -c /dev/fuse ] || skip "no /dev/fuse"
command -v smbd >/dev/null && command -v smbpasswd >/dev/null || skip "no smbd (samba)"
command -v smbnetfs >/dev/null || skip "no smbnetfs"
[ "$(id -u)" -eq 0 ] || skip "smbd on port 445 needs root"
if (exec 3<>/dev/tcp/127.0.0.1/445) 2>/dev/null; then skip "port 445 is taken"; fi

work=$(mktemp -d /tmp/drilbank-smb.XXXXXX)
mkdir -p "$work"/{private,lock,state,cache,pid,log,share,mount,home/.smb,drives,requests}
server="$work/server"
watcher=""
cleanup() {
    [ -z "$watcher" ] || kill "$watcher" 2>/dev/null || true
    fusermount3 -u "$work/mount" 2>/dev/null || fusermount -u "$work/mount" 2>/dev/null || true
    "$server" stop 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

account=$(id -un)
password=drilbank-share
cat >"$work/smb.conf" <<CONF
[global]
    server role = standalone server
    interfaces = 127.0.0.1
    bind interfaces only = yes
    smb ports = 445
    disable netbios = yes
    server min protocol = SMB2
    private dir = $work/private
    lock directory = $work/lock
    state directory = $work/state
    cache directory = $work/cache
    pid directory = $work/pid
    ncalrpc dir = $work/lock/ncalrpc
    passdb backend = tdbsam:$work/private/passdb.tdb
    log file = $work/log/smbd.log
    load printers = no
    printcap name = /dev/null
    disable spoolss = yes
[campus]
    path = $work/share
    read only = no
CONF
(echo "$password"; echo "$password") | smbpasswd -c "$work/smb.conf" -s -a "$account" >/dev/null

# Kills the server with its children, as a crash would, or starts it and waits until it
# listens.
cat >"$server" <<SERVER
#!/usr/bin/env bash
set -u
if [ "\$1" = stop ]; then
    [ -f "$work/pid/smbd.pid" ] && kill -KILL -- "-\$(cat "$work/pid/smbd.pid")" 2>/dev/null
    rm -f "$work/pid/smbd.pid"
    exit 0
fi
smbd -s "$work/smb.conf" -D
for _ in \$(seq 100); do
    (exec 3<>/dev/tcp/127.0.0.1/445) 2>/dev/null && exit 0
    sleep 0.05
done
exit 1
SERVER
chmod +x "$server"
"$server" start

printf '%s\n' '[global]' '    client min protocol = SMB2' >"$work/home/.smb/smb.conf"
printf '%s\n' "auth \"$account\" \"$password\"" 'smb_timeout 3000' 'neg_cache_timeout 100' \
    "log_file \"$work/log/smbnetfs.log\"" >"$work/home/.smb/smbnetfs.conf"
chmod 600 "$work/home/.smb/"*
HOME="$work/home" smbnetfs "$work/mount"

# Drive i: of the core is the share, as a campus drive is.
campus="bkp_000416/My Documents/distance students/interactive problems/lb1"
mkdir -p "$work/share/$campus"
ln -s "$work/mount/127.0.0.1/campus" "$work/drives/i"
for _ in $(seq 50); do
    [ -d "$work/drives/i/$campus" ] && break
    sleep 0.1
done
[ -d "$work/drives/i/$campus" ] || { echo "the share was not mounted"; exit 1; }

# The tests ask for the server to be stopped or started through request files (see
# tests/support/ShareServer.h): a program under Wine cannot start this script's programs.
requests="$work/requests"
while true; do
    for request in "$requests"/*.stop "$requests"/*.start; do
        [ -f "$request" ] || continue
        "$server" "${request##*.}" || touch "$request.failed"
        rm -f "$request"
    done
    sleep 0.05
done &
watcher=$!

DRILBANK_SHARE_DRIVES="$work/drives" DRILBANK_SHARE_REQUESTS="$requests" \
    "$build/tests/core_tests" --gtest_filter='RealShare.*'

window_tests="$windows_build/tests/win32/win32_window_tests.exe"
if [ ! -x /usr/lib/wine/wine64 ]; then
    echo "SMB share test through the Win32 window skipped: no Wine"
elif [ ! -f "$window_tests" ]; then
    echo "SMB share test through the Win32 window skipped: no $window_tests" \
        "(scripts/test-windows.sh builds it)"
else
    # Wine's drive z: is the root of this machine.
    (
        source scripts/wine-prefix.sh
        DRILBANK_SHARE_DRIVES="Z:$work/drives" DRILBANK_SHARE_REQUESTS="Z:$requests" \
            "$wine" "$window_tests" --gtest_filter='WindowShare.*' </dev/null
    )
fi
