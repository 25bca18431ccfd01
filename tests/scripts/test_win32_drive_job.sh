#!/bin/bash
# The free-space job in a real window, on a drive of its own: a private 8 MiB tmpfs mapped as drive S:
# of the Wine prefix, so the fill never touches the host's disk. `nullora.exe S:\` must show the
# drive's sizes; after Yes the test watches the file system from outside while the job runs: each pass
# must fill the drive (its free space drops to almost nothing, through the fill file WNXTEMP.000) and
# give the room back. At "Done" no fill file is left and the files that were on the drive are intact.
# Then a drive that does not exist must be refused with a message, and nothing more.
#
# Usage: test_win32_drive_job.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"

[[ $(id -u) -eq 0 ]] || skip "mounting a private tmpfs needs root"
command -v python3 >/dev/null || skip "python3 watches the file system during the run; it is not installed"
session_start "${1:-}"

title='Nullora - Removing Free Space'
passes=3

mnt="$temp/drive-s"
mkdir -p "$mnt"
mount -t tmpfs -o size=8m,mode=0755 nullora-free-space "$mnt" 2>/dev/null || skip "cannot mount a tmpfs here"
session_on_cleanup "umount '$mnt' 2>/dev/null || umount -l '$mnt'"
[[ -e $WINEPREFIX/dosdevices/s: ]] && fail "the new prefix already has a drive S:"
ln -s "$mnt" "$WINEPREFIX/dosdevices/s:"

# What the drive holds before: it must come through the wipe unchanged.
mkdir -p "$mnt/Documents"
printf 'the drive keeps this\n' >"$mnt/keep.txt"
head -c 1048576 /dev/urandom >"$mnt/Documents/photo.raw"
Fingerprint() { (cd "$mnt" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
before=$(Fingerprint)

read -r total free < <(python3 -c 'import os, sys
s = os.statvfs(sys.argv[1]); print(s.f_blocks * s.f_frsize, s.f_bfree * s.f_frsize)' "$mnt")
# 8388608 as the dialog shows it: "8,388,608".
Grouped() {
  local digits=$1 result=""
  while ((${#digits} > 3)); do
    result=",${digits: -3}$result"
    digits=${digits:0:${#digits}-3}
  done
  printf '%s' "$digits$result"
}

set_option OpPasses "$passes"

app_start "S:\\"
drive wait-window "$title" 60000 || fail "the free-space dialog did not open"
question=$'Local Disk: S:\\\r\n'" Total Number Of Bytes: $(Grouped "$total") bytes"$'\r\n'
question+=" Total Free Bytes: $(Grouped "$free") bytes"$'\r\n'
question+=" Total Space Used : $(Grouped $((total - free))) bytes"
drive wait-text "$title" "$question" 5000 || fail "the question does not show the drive and its sizes"
screenshot test_win32_drive_job_question

# Watches the drive from outside, as fast as it can, until told to stop: the least free space seen,
# the largest fill file seen, and how many times the drive went from mostly free to mostly full.
watchLog="$temp/watch.log"
python3 - "$mnt" "$temp/watching" >"$watchLog" <<'WATCH' &
import os, sys
mnt, flag = sys.argv[1], sys.argv[2]
open(flag, "w").close()
total = os.statvfs(mnt).f_blocks * os.statvfs(mnt).f_frsize
least, largest, fills, full = total, 0, 0, False
while os.path.exists(flag):
    s = os.statvfs(mnt)
    free = s.f_bfree * s.f_frsize
    least = min(least, free)
    if not full and free < total // 4:
        full, fills = True, fills + 1
    elif full and free > total * 3 // 4:
        full = False
    try:
        largest = max(largest, os.stat(os.path.join(mnt, "WNXTEMP.000")).st_size)
    except OSError:
        pass
print(least, largest, fills)
WATCH
watcher=$!
session_on_cleanup "rm -f '$temp/watching'; kill $watcher 2>/dev/null"
for _ in $(seq 50); do [[ -e $temp/watching ]] && break; sleep 0.1; done

drive click "$title" "Yes" 10000 || fail "no Yes button to answer"
drive wait-text "$title" "Done" 60000 || fail "the job did not report Done"
rm -f "$temp/watching"
wait "$watcher"
read -r least largest fills <"$watchLog"
screenshot test_win32_drive_job_done
echo "during the run: least free space $least of $total bytes, largest fill file $largest bytes," \
  "$fills times the drive filled up"

# Nearly nothing: less than a hundredth of the drive, some ten of the fill's thousand steps.
((least <= total / 100)) || fail "the drive never filled up: at least $least bytes stayed free"
((largest >= free - total / 100)) || fail "the fill file never grew to the free space ($largest of $free bytes)"
((fills == passes)) || fail "the drive filled up $fills times, not once per pass ($passes)"
left=$(find "$mnt" -maxdepth 1 -name 'WNXTEMP.*')
[[ -z $left ]] || fail "fill files were left behind: $left"
after=$(Fingerprint)
[[ $after == "$before" ]] || fail "the files on the drive changed:"$'\n'"$before"$'\n'"---"$'\n'"$after"
now=$(python3 -c 'import os, sys; s = os.statvfs(sys.argv[1]); print(s.f_bfree * s.f_frsize)' "$mnt")
((now == free)) || fail "the drive has $now bytes free after the run, $free before"
echo "S:\\ was filled $passes times, its fill file is gone and its files are intact"

drive click "$title" "Exit" 10000 || fail "no Exit button"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after Exit"
echo "nullora.exe ended after Exit"

# A drive that does not exist is refused before anything else happens.
[[ -e $WINEPREFIX/dosdevices/q: || -L $WINEPREFIX/dosdevices/q: ]] && fail "the prefix has a drive Q:"
app_start "Q:\\"
# Whichever window comes first: the refusal, or a job dialog that should not have opened.
shown=""
deadline=$((SECONDS + 30))
while ((SECONDS < deadline)); do
  for window in 'Nullora' 'Nullora - Removing Free Space' 'Nullora - Removing a File' 'Nullora - Removing a Folder'; do
    if drive wait-window "$window" 0 >/dev/null; then
      shown=$window
      break 2
    fi
  done
done
[[ -n $shown ]] || fail "nullora.exe Q:\\ showed no window at all"
if [[ $shown != Nullora ]]; then
  screenshot test_win32_drive_job_refusal
  fail "nullora.exe Q:\\ opened \"$shown\" instead of refusing the missing drive"
fi
message=$(drive dump "Nullora" | tr -d '\r')
grep -q 'Nothing was touched\."$' <<<"$message" || fail "the message does not end \"Nothing was touched.\": $message"
echo "the missing drive Q: is refused: $(grep -o 'Static "[^"]*Nothing was touched\."' <<<"$message")"
screenshot test_win32_drive_job_refusal
drive click "Nullora" "OK" 10000 || fail "no OK button in the message"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after the message was dismissed"
echo "nullora.exe ended after the message"
echo "PASSED"
