#!/bin/bash
# The whole program in a real window: `nullora.exe T:\victim.txt` under Wine on a private X server asks
# whether to remove the file; the test answers Yes as a user would, waits for the job to say it is
# done, checks that the file is gone from the host disk, then leaves with Exit and checks that the
# process ended. A screenshot of the finished dialog is left in the build directory.
#
# Usage: test_win32_real_window.sh <build dir>   (exit 77: this machine cannot run it)
set -u

build="$(cd "${1:?usage: $0 <build dir>}" && pwd)"
exe="$build/nullora.exe"
driver="$build/ui_driver.exe"
title='Nullora - Removing a File'
screenshot="$build/test_win32_real_window.png"

skip() {
  echo "SKIPPED: $*"
  exit 77
}
fail() {
  echo "FAILED: $*"
  exit 1
}

command -v Xvfb > /dev/null || skip "Xvfb is not installed (Debian package xvfb)"
command -v wine > /dev/null || skip "wine is not installed"
[ -f "$exe" ] || fail "$exe was not built"
[ -f "$driver" ] || fail "$driver was not built"

# The Wine loader that matches the executable: 32-bit for the shipped build, 64-bit for the other.
pe_machine() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' '
}
case "$(pe_machine "$exe")" in
  014c)
    loader=wine
    wine --version > /dev/null 2>&1 || skip "32-bit Wine does not start here (can this machine run 32-bit programs?)"
    ;;
  8664)
    loader=/usr/lib/wine/wine64
    [ -x "$loader" ] || skip "64-bit Wine is not installed"
    export WINELOADER="$loader" WINEARCH=win64
    ;;
  *) fail "$exe is not a Windows executable" ;;
esac

temp="$(mktemp -d "${TMPDIR:-/tmp}/nullora-real-window.XXXXXX")"
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2> /dev/null
  [ -d "$temp/prefix" ] && WINEPREFIX="$temp/prefix" wineserver -k > /dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null && wait "$xvfb_pid" 2> /dev/null
  rm -rf "$temp"
}
trap cleanup EXIT

# A display number nobody uses.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp > "$temp/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb_pid" 2> /dev/null || fail "Xvfb :$display did not start: $(cat "$temp/xvfb.log")"
  sleep 0.1
done
[ -e "/tmp/.X11-unix/X$display" ] || fail "Xvfb :$display did not open its socket"
export DISPLAY=":$display"

export WINEPREFIX="$temp/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine links the prefix's Desktop and Documents into $HOME: give it one of the test's own.
export HOME="$temp/home" XDG_DATA_HOME="$temp/xdg-data" XDG_CONFIG_HOME="$temp/xdg-config" XDG_CACHE_HOME="$temp/xdg-cache"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
"$loader" wineboot -i > "$temp/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -5 "$temp/wineboot.log")"

# Drive T: is a directory of this test; the victim is a file of known content on it.
mkdir -p "$temp/drive"
ln -s "$temp/drive" "$WINEPREFIX/dosdevices/t:"
victim="$temp/drive/victim.txt"
printf 'Nullora real-window test: these bytes must not survive.\n' > "$victim"

drive() { "$loader" "$driver" "$@"; }

(cd "$temp" && exec "$loader" "$exe" 'T:\victim.txt') > "$temp/nullora.log" 2>&1 &
app_pid=$!

drive wait-window "$title" 60000 || fail "the dialog did not open"
drive click "$title" "Yes" 10000 || fail "no Yes button to answer"
drive wait-text "$title" "Done" 120000 || fail "the job did not report Done"
[ -e "$victim" ] && fail "T:\\victim.txt is still on the host disk"
echo "T:\\victim.txt is gone from the host disk"

xwd -root -silent -display ":$display" 2> /dev/null | /usr/bin/convert xwd:- "png:$screenshot" 2> /dev/null &&
  echo "screenshot: $screenshot"

drive click "$title" "Exit" 10000 || fail "no Exit button"
for _ in $(seq 200); do
  kill -0 "$app_pid" 2> /dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2> /dev/null; then
  fail "nullora.exe still runs 20 s after Exit"
fi
wait "$app_pid" 2> /dev/null
app_pid=""
echo "nullora.exe ended after Exit"
echo "PASSED"
