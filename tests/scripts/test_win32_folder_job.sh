#!/bin/bash
# The folder job in a real window: `nullora.exe T:\tree` under Wine on a private X server asks whether
# to remove the folder; the test answers Yes as a user would, waits for "Done", then checks on the host
# disk that the whole tree is gone (hidden and read-only files, a hidden folder, an empty folder, a
# name outside the ANSI code page) and that what lies beside it, a folder whose name begins with the
# same letters included, is untouched. Exit must then end the process. Screenshots of the question and
# of the finished job are left in the build directory.
#
# Usage: test_win32_folder_job.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"

title='Nullora - Removing a Folder'

# The tree, three levels deep below T:\tree.
tree="$drive_t/tree"
mkdir -p "$tree/a/b/c" "$tree/a/hidden folder" "$tree/empty"
printf 'top\n' >"$tree/top.txt"
printf 'middle\n' >"$tree/a/mid.txt"
printf 'deep\n' >"$tree/a/b/deep.txt"
printf 'deepest\n' >"$tree/a/b/c/deepest.txt"
printf 'unicode\n' >"$tree/a/b/c/$(printf 'r\xc3\xa9sum\xc3\xa9 \xe2\x82\xac.txt')"
printf 'inside\n' >"$tree/a/hidden folder/inside.txt"
# Beside it: a folder with the same beginning, and a file in the drive's root.
mkdir -p "$drive_t/tree2/sub"
printf 'keep me\n' >"$drive_t/tree2/sub/keep.txt"
head -c 65536 /dev/urandom >"$drive_t/tree2/random.bin"
printf 'keep me too\n' >"$drive_t/keep.txt"
Fingerprint() { (cd "$drive_t" && find tree2 keep.txt -type f -print0 | sort -z | xargs -0 sha256sum 2>&1); }
before=$(Fingerprint)

# The attributes a user's files carry, set the Windows way (one attribute per call: Wine's attrib
# takes only the last of several).
SetAttribute() { wine attrib "$1" "$2" >/dev/null 2>&1 || fail "attrib $1 $2 failed"; }
SetAttribute +h 'T:\tree\a\mid.txt'
SetAttribute +r 'T:\tree\a\mid.txt'
SetAttribute +r 'T:\tree\a\b\deep.txt'
SetAttribute +h 'T:\tree\a\b\c\deepest.txt'
SetAttribute +h 'T:\tree\a\hidden folder'
attributes=$(wine attrib 'T:\tree\a\mid.txt' 2>/dev/null)
[[ $attributes == *H*R*'T:\tree\a\mid.txt'* ]] || fail "mid.txt did not become hidden and read-only: $attributes"
[[ $(stat -c %A "$tree/a/b/deep.txt") != *w* ]] || fail "deep.txt did not become read-only on the host"

# One random pass keeps the run short; the options line must show it was read.
set_option OpMethod 0
set_option OpPasses 3

app_start 'T:\tree'
drive wait-window "$title" 60000 || fail "the folder dialog did not open"
drive wait-text "$title" $'Folder: T:\\tree\r\nwill be wiped then deleted!' 5000 ||
  fail "the question does not name the folder"
screenshot test_win32_folder_job_question
drive click "$title" "Yes" 10000 || fail "no Yes button to answer"
drive wait-text "$title" "Done" 60000 || fail "the job did not report Done"
drive wait-text "$title" "Scheme : One Random Pass.  Passes: 3." 5000 || fail "the options line is wrong"
screenshot test_win32_folder_job_done

[[ -e $tree ]] && fail "T:\\tree is still on the host disk: $(find "$tree" | head -20)"
printf "%s\n" "T:\\tree and everything below it are gone from the host disk"
after=$(Fingerprint)
[[ $after == "$before" ]] || fail "what lay beside the tree changed:"$'\n'"$before"$'\n'"---"$'\n'"$after"
left=$(cd "$drive_t" && find . -mindepth 1 | sort | tr '\n' ' ')
[[ $left == "./keep.txt ./tree2 ./tree2/random.bin ./tree2/sub ./tree2/sub/keep.txt " ]] ||
  fail "the drive holds something unexpected: $left"
printf "%s\n" "T:\\tree2 and T:\\keep.txt are untouched"

drive click "$title" "Exit" 10000 || fail "no Exit button"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after Exit"
echo "nullora.exe ended after Exit"
echo "PASSED"
