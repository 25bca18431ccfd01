#!/bin/bash
# The Recycle Bin job in a real window. Wine keeps its bin in the freedesktop trash under XDG_DATA_HOME,
# here a directory of this test. With the bin empty, `nullora.exe Recycle` only says so and ends when
# the message is dismissed. With a file put in the bin the way Explorer's Delete puts it there, the
# job asks, wipes, empties the bin and says "Done"; the trash then holds neither the data nor the record
# of where it came from, and the shell sees an empty bin again.
#
# Where root may loop-mount a small ext2 image, the bin and the deleted file's drive live on it, and
# the raw image is searched afterwards: the binned file's text must be gone from the medium, while the
# text of a file deleted without a wipe is still found there (so the search can fail).
#
# Usage: test_win32_recycle_job.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"

title='Nullora - Removing the Recycle Bin'
empty='The Recycle bin is empty'

# On an ext2 image when possible: ext2 never clears a freed block, so what was not overwritten stays.
image="$temp/bin.img"
medium="$temp/medium"
onImage=0
if [[ $(id -u) -eq 0 ]] && command -v mkfs.ext2 >/dev/null && losetup -f >/dev/null 2>&1; then
  mkdir -p "$medium"
  truncate -s 8M "$image"
  mkfs.ext2 -q -F "$image"
  if mount -o loop "$image" "$medium" 2>/dev/null; then
    onImage=1
    session_on_cleanup "mountpoint -q '$medium' && { umount '$medium' || umount -l '$medium'; }"
  fi
fi
if [[ $onImage -eq 1 ]]; then
  echo "the bin and drive U: are on a loop-mounted ext2 image"
else
  echo "no loop mount here (needs root): the bin is a plain directory and the medium is not searched"
  mkdir -p "$medium"
fi
# Wine moves a deleted file into the trash by renaming it, so both lie on the same file system.
export XDG_DATA_HOME="$medium/xdg-data"
mkdir -p "$XDG_DATA_HOME" "$medium/drive-u"
ln -s "$medium/drive-u" "$WINEPREFIX/dosdevices/u:"
set_option OpMethod 0

# About 64 KiB of numbered lines that appear nowhere else.
WriteMarkerFile() {
  awk -v marker="$1" 'BEGIN {
    for (n = 1; size < 65536; n++) { line = sprintf("%s%06d\n", marker, n); printf "%s", line; size += length(line) }
  }' >"$2"
  sync
}
MarkerCount() { grep -a -c -- "$1" "$image" || true; }

# 1. The bin is empty: a message, and the process ends when it is dismissed.
[[ -z $(find "$XDG_DATA_HOME" -mindepth 1) ]] || fail "the test's bin is not empty to begin with"
app_start Recycle
drive wait-window "Nullora" 60000 || fail "no message for the empty bin"
drive wait-text "Nullora" "$empty" 5000 || fail "the message does not say \"$empty\""
screenshot test_win32_recycle_job_empty
drive click "Nullora" "OK" 10000 || fail "no OK button in the message"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after the message was dismissed"
echo "an empty bin is reported, and nullora.exe ended when the message was dismissed"

# 2. A file in the bin is wiped, and the bin emptied.
marker="NULLORA-RECYCLE-BIN-MARKER-"
WriteMarkerFile "$marker" "$medium/drive-u/letter.txt"
printf 'not in the bin\n' >"$medium/drive-u/bystander.txt"
drive recycle 'U:\letter.txt' || fail "the shell did not move U:\\letter.txt to the bin"
[[ -e $medium/drive-u/letter.txt ]] && fail "U:\\letter.txt is still in its folder after the shell's delete"
binned=$(find "$XDG_DATA_HOME/Trash/files" -mindepth 1 2>/dev/null)
[[ -n $binned ]] || fail "the shell's delete left nothing in $XDG_DATA_HOME/Trash/files"
grep -q -- "$marker" "$binned" || fail "the bin's copy $binned does not hold the file's text"
echo "in the bin: ${binned#"$medium/"}"
# The counterpart: the same kind of text, deleted without a wipe.
plainMarker="NULLORA-RECYCLE-PLAIN-DELETE-"
WriteMarkerFile "$plainMarker" "$medium/drive-u/plain.txt"
rm "$medium/drive-u/plain.txt"
sync

app_start Recycle
drive wait-window "$title" 60000 || fail "the Recycle Bin dialog did not open"
drive wait-text "$title" "All the items in the Recycle Bin     will be wipped and then Deleted!" 5000 ||
  fail "the question is not the Recycle Bin's"
screenshot test_win32_recycle_job_question
drive click "$title" "Yes" 10000 || fail "no Yes button to answer"
drive wait-text "$title" "Done" 60000 || fail "the job did not report Done"
screenshot test_win32_recycle_job_done

left=$(find "$XDG_DATA_HOME/Trash/files" -mindepth 1 2>/dev/null)
[[ -z $left ]] || fail "the bin still holds data: $left"
[[ -e $binned ]] && fail "the bin's copy $binned is still there"
echo "Trash/files is empty"
[[ $(cat "$medium/drive-u/bystander.txt") == "not in the bin" ]] || fail "a file outside the bin changed"
# The bin's record of an item names the deleted file and where it was: a trace of its own.
info=$(find "$XDG_DATA_HOME/Trash/info" -mindepth 1 2>/dev/null)
[[ -z $info ]] || fail "the bin's record of the item is left behind: ${info#"$medium/"}"
echo "Trash/info is empty"

drive click "$title" "Exit" 10000 || fail "no Exit button"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after Exit"
echo "nullora.exe ended after Exit"

# As the shell sees it, the bin is empty again.
app_start Recycle
drive wait-window "Nullora" 60000 || fail "after the job the bin is not empty to the shell"
drive wait-text "Nullora" "$empty" 5000 || fail "after the job the bin is not empty to the shell"
drive click "Nullora" "OK" 10000 || fail "no OK button in the message"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after the message was dismissed"
echo "the shell reports the bin empty after the job"

if [[ $onImage -eq 1 ]]; then
  # Wine may still be closing the last handles of the program that just ended.
  for _ in $(seq 50); do umount "$medium" 2>/dev/null && break; sleep 0.1; done
  mountpoint -q "$medium" && fail "the image stays busy after the job"
  plainFound=$(MarkerCount "$plainMarker")
  ((plainFound > 0)) || fail "a plain delete left nothing on the image; this search could never fail"
  found=$(MarkerCount "$marker")
  ((found == 0)) || fail "$found lines of the binned file's text are still on the medium"
  echo "the binned file's text is gone from the medium ($plainFound lines of a plainly deleted file are not)"
fi
echo "PASSED"
