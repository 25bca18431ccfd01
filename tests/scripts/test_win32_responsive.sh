#!/bin/bash
# A job window stays alive while it wipes: during a DoD wipe of a large file, which lets no click in
# until it is done, the window keeps painting and every control answers another program's request for
# its text within a second, all the way to "Done". A screenshot taken in the middle of the wipe shows
# the progress view painted.
#
# Usage: test_win32_responsive.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"

title='Nullora - Removing a File'
megabytes=768
head -c $((megabytes << 20)) /dev/zero | tr '\0' 'x' >"$drive_t/large.bin" || fail "could not write the large file"
sync
set_option OpMethod 1
set_option OpPasses 1

app_start 'T:\large.bin'
drive wait-window "$title" 60000 || fail "the file dialog did not open"
drive responsive "$title" "Yes" "Done" 300000 1000 >"$temp/responsive.log" &
watcher=$!
sleep 1
screenshot test_win32_responsive_wiping
wait "$watcher"
status=$?
cat "$temp/responsive.log"
((status == 0)) || fail "the window did not answer within a second throughout the wipe"
[[ -e $drive_t/large.bin ]] && fail "the file is still there"
echo "a DoD wipe of $megabytes MiB: the window answered within a second throughout"
drive click "$title" "Exit" 10000 || fail "no Exit button"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after Exit"
echo "PASSED"
