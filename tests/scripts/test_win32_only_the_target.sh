#!/bin/bash
# Nothing outside the target, whatever the argument, with the real program in real windows under Wine.
# Wine hides a host link to a file (no reparse point to any call) and removes or renames through it
# onto what it points to; a host link to a folder shows as one. Each case below points a link at files
# outside the target, runs the job to its end, and checks on the host that those files are intact, the
# link still there, and that the job did not say a bare "Done":
#   - a folder argument that is a link to a folder elsewhere;
#   - a link to a file inside a folder job's tree;
#   - a link to a file lying in the Recycle Bin (the bin is then not emptied: Wine's emptying would
#     delete the file it points to), and a drive's "recycled" folder that is a link;
#   - a link named WNXTEMP.000 in a drive's root (on a small tmpfs, so a fault could not fill the host).
# Then arguments: a bare drive letter opens the drive job (and is cancelled), a relative folder is asked
# about and wiped by its full path, and devices (NUL, CON, T:\x\NUL) are refused before any question.
#
# Usage: test_win32_only_the_target.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"

folderTitle='Nullora - Removing a Folder'
binTitle='Nullora - Removing the Recycle Bin'
driveTitle='Nullora - Removing Free Space'

outside="$temp/outside"
mkdir -p "$outside/tree/sub"
printf 'precious\n' >"$outside/tree/keep.txt"
printf 'precious too\n' >"$outside/tree/sub/deep.txt"
printf 'secret\n' >"$outside/secret.txt"
printf 'in the bin through a link\n' >"$outside/binned-target.txt"
printf 'fill target\n' >"$outside/victim.txt"
Fingerprint() { (cd "$outside" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
before=$(Fingerprint)
CheckOutside() {
  [[ $(Fingerprint) == "$before" ]] || fail "$1 changed files outside the target:"$'\n'"$before"$'\n'"---"$'\n'"$(Fingerprint)"
}
# Runs to the end a job that is up, answering Yes; prints its final status line.
Finish() {
  local title=$1 expected=$2
  drive click "$title" "Yes" 10000 || fail "no Yes button in \"$title\""
  drive wait-text "$title" "&Exit" 60000 >/dev/null || fail "\"$title\" did not finish"
  drive wait-text "$title" "$expected" 2000 || fail "\"$title\" does not end with: $expected"
}
ExitJob() {
  drive click "$1" "Exit" 10000 || fail "no Exit button in \"$1\""
  app_wait_ended 20 || fail "nullora.exe still runs 20 s after Exit"
}
set_option OpMethod 0

# 1. A folder argument that is a link: the tree it points to is not walked.
ln -s "$outside/tree" "$drive_t/linked"
app_start 'T:\linked'
drive wait-window "$folderTitle" 60000 || fail "the folder dialog did not open for T:\\linked"
Finish "$folderTitle" "Not wiped: it is a link; what it points to was left alone"
ExitJob "$folderTitle"
CheckOutside "the folder job on a link"
[[ -L $drive_t/linked ]] || fail "the link T:\\linked is gone"
echo "T:\\linked: the link and the folder it points to are untouched"

# 2. A link to a file inside a folder's tree: the rest of the tree goes, the link and its file stay.
mkdir -p "$drive_t/tree"
printf 'mine\n' >"$drive_t/tree/mine.txt"
ln -s "$outside/secret.txt" "$drive_t/tree/filelink.txt"
app_start 'T:\tree'
drive wait-window "$folderTitle" 60000 || fail "the folder dialog did not open for T:\\tree"
Finish "$folderTitle" "Not all wiped: 1 of 2 files could not be wiped; 1 folder could not be removed"
screenshot test_win32_only_the_target_tree
ExitJob "$folderTitle"
CheckOutside "the folder job on a tree holding a link"
[[ -e $drive_t/tree/mine.txt ]] && fail "T:\\tree\\mine.txt was not wiped"
[[ -L $drive_t/tree/filelink.txt ]] || fail "the link in the tree is gone"
echo "T:\\tree: its file is wiped; the link in it and the file it points to are untouched"

# 3. A link to a file in the Recycle Bin, beside a file deleted the ordinary way; and a drive whose
#    "recycled" folder is a link to a folder elsewhere.
ln -s "$outside/tree" "$drive_t/recycled"
printf 'deleted\n' >"$drive_t/deleted.txt"
drive recycle 'T:\deleted.txt' >/dev/null || fail "the shell did not move T:\\deleted.txt to the bin"
trash="$XDG_DATA_HOME/Trash"
ln -s "$outside/binned-target.txt" "$trash/files/linked.txt"
printf '[Trash Info]\nPath=%s\nDeletionDate=2026-12-09T10:00:00\n' "$drive_t/linked.txt" >"$trash/info/linked.txt.trashinfo"
app_start Recycle
drive wait-window "$binTitle" 60000 || fail "the Recycle Bin dialog did not open"
Finish "$binTitle" \
  "Not all wiped: 1 of 2 files could not be wiped; the bin was not emptied, since it holds a link whose target would go with it"
ExitJob "$binTitle"
CheckOutside "the Recycle Bin job"
[[ -L $trash/files/linked.txt ]] || fail "the link in the bin is gone"
[[ -L $drive_t/recycled ]] || fail "the link T:\\recycled is gone"
[[ -n $(find "$trash/files" -name 'deleted.txt*') ]] && fail "the ordinary item in the bin was not wiped"
echo "Recycle: the ordinary item is wiped; the link and its file are untouched, the bin not emptied"

# 4. A link named WNXTEMP.000 in a drive's root: the free-space wipe writes nothing.
if [[ $(id -u) -eq 0 ]] && mkdir -p "$temp/drive-s" &&
  mount -t tmpfs -o size=4m,mode=0755 nullora-only-target "$temp/drive-s" 2>/dev/null; then
  session_on_cleanup "umount '$temp/drive-s' 2>/dev/null || umount -l '$temp/drive-s'"
  ln -s "$temp/drive-s" "$WINEPREFIX/dosdevices/s:"
  ln -s "$outside/victim.txt" "$temp/drive-s/WNXTEMP.000"
  app_start 'S:\'
  drive wait-window "$driveTitle" 60000 || fail "the free-space dialog did not open for S:\\"
  Finish "$driveTitle" \
    "Not wiped: WNXTEMP.000 in the drive's root is a link or has other names; it was left alone and nothing was written"
  ExitJob "$driveTitle"
  CheckOutside "the free-space job"
  [[ -L $temp/drive-s/WNXTEMP.000 ]] || fail "the link WNXTEMP.000 is gone"
  echo "S:\\WNXTEMP.000, a link: nothing written, the link and its file are untouched"
else
  echo "no private tmpfs here (needs root): the WNXTEMP.000 case is not run"
fi

# 5. A bare drive letter is the drive job, never a folder wipe of the drive's current directory.
app_start 'T:'
drive wait-window "$driveTitle" 60000 || fail "T: did not open the free-space job"
drive dump "$driveTitle" | grep -q 'Local Disk: T:\\' || fail "the drive job does not name T:\\"
drive click "$driveTitle" "Cancel" 10000 || fail "no Cancel button"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after Cancel"
[[ -L $drive_t/linked && -L $drive_t/tree/filelink.txt ]] || fail "Cancel on T: changed the drive"
echo "T: opens the free-space job of T:\\"

# 6. A relative folder is asked about and wiped by its full path.
mkdir -p "$drive_t/rel/inner"
printf 'relative\n' >"$drive_t/rel/inner/a.txt"
app_start_in "$drive_t" 'rel'
drive wait-window "$folderTitle" 60000 || fail "the folder dialog did not open for rel"
question=$(drive dump "$folderTitle" | tr -d '\r' | grep -o 'Folder: [^"]*')
[[ $question =~ ^Folder:\ [A-Z]:\\(.*\\)?rel$ ]] || fail "the question does not show the full path: $question"
echo "rel is asked about as: $question"
Finish "$folderTitle" "Done"
ExitJob "$folderTitle"
[[ -e $drive_t/rel ]] && fail "rel is still there"
echo "rel is wiped"

# 7. Devices are refused before anyone is asked.
for device in 'NUL' 'CON' 'T:\x\NUL'; do
  app_start "$device"
  drive wait-window "Nullora" 60000 || fail "no message for $device"
  drive wait-text "Nullora" "$device names a device or a volume, not a file or folder. Nothing was touched." 5000 ||
    fail "the message for $device is not the refusal"
  drive click "Nullora" "OK" 10000 || fail "no OK button in the message"
  app_wait_ended 20 || fail "nullora.exe still runs 20 s after the refusal of $device"
  echo "$device is refused"
done
CheckOutside "the whole run"
echo "PASSED"
