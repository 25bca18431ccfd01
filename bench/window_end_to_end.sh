#!/bin/bash
# End to end through the real window under Wine and Xvfb, beside what the system itself does for the
# same result, in one run:
#   - a file wiped with One Random Pass (OpMethod 0), beside `shred -n 1 -u` on an identical file;
#   - a file wiped with DoD, one cycle (OpMethod 1, OpPasses 1), beside a raw write of the same bytes
#     (four sweeps of 32 KiB blocks, each flushed to the disk, as the routine does);
#   - a folder of small files in 100 folders removed with Delete Only (OpMethod 4), beside Wine's own
#     `cmd /c rmdir /s /q` and `rm -r` on identical trees.
# A job is timed from the click on "Yes" to "Done" in its window, as a user would see it.
#
# Not a test: run by hand. Usage:
#   bench/window_end_to_end.sh <build dir> [file MiB] [files] [repeats]
# e.g. bench/window_end_to_end.sh build/win64 1024 10000 3   (the build of the Wine this machine runs)
# Drive T: of the private prefix lies under TMPDIR (default /tmp): put it on a real disk.
set -u
repo=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tests/scripts/real_window_session.sh
source "$repo/tests/scripts/real_window_session.sh"
megabytes=${2:-1024}
files=${3:-10000}
repeats=${4:-3}
session_start "${1:-}"

fileTitle='Nullora - Removing a File'
folderTitle='Nullora - Removing a Folder'

Now() { echo "${EPOCHREALTIME/,/.}"; }
Elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
Ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
Best() { printf '%s\n' "$@" | sort -g | head -1; }

MakeFile() {
  head -c $((megabytes << 20)) /dev/urandom >"$1"
  sync
}

# Seconds from "Yes" to the status line $2 in the window $1 of the job started with argument $3.
TimeJob() {
  local title=$1 done=$2 argument=$3 start end
  app_start "$argument"
  drive wait-window "$title" 60000 >/dev/null || fail "\"$title\" did not open"
  start=$(Now)
  drive click "$title" "Yes" 10000 >/dev/null || fail "no Yes in \"$title\""
  drive wait-text "$title" "$done" 3600000 >/dev/null || fail "\"$title\" did not reach \"$done\""
  end=$(Now)
  drive click "$title" "Exit" 10000 >/dev/null || fail "no Exit in \"$title\""
  app_wait_ended 20 || fail "nullora.exe did not end"
  Elapsed "$start" "$end"
}

TimeCommand() {
  local start end
  start=$(Now)
  "$@" >/dev/null 2>&1 || fail "$* failed"
  end=$(Now)
  Elapsed "$start" "$end"
}

# Four sweeps of 32 KiB blocks with a flush after each: 0x00, 0xFF, 0xFF, one random sweep.
RawDod() {
  local file=$1 blocks=$((megabytes * 32)) source
  for source in /dev/zero ones ones /dev/urandom; do
    if [[ $source == ones ]]; then
      tr '\0' '\377' </dev/zero | dd of="$file" bs=32k count="$blocks" iflag=fullblock conv=notrunc,fsync status=none
    else
      dd if="$source" of="$file" bs=32k count="$blocks" iflag=fullblock conv=notrunc,fsync status=none
    fi
  done
  rm -f "$file"
}

MakeTree() {
  local root=$1 perFolder=$((files / 100)) d f
  for ((d = 0; d < 100; d++)); do
    mkdir -p "$root/f$d"
    for ((f = 0; f < perFolder; f++)); do printf 'x' >"$root/f$d/$f.txt"; done
  done
  sync
}

set_option OpPasses 1
echo "files of $megabytes MiB, a tree of $files one-byte files in 100 folders, best of $repeats runs"
echo "drive T: is $drive_t ($(df -h --output=fstype,avail "$drive_t" | tail -1 | xargs))"

window=() shredRun=() dod=() raw=() folder=() rmdirRun=() rmRun=()
for ((run = 1; run <= repeats; run++)); do
  set_option OpMethod 0
  MakeFile "$drive_t/one.bin"
  window+=("$(TimeJob "$fileTitle" Done 'T:\one.bin')")
  MakeFile "$drive_t/shred.bin"
  shredRun+=("$(TimeCommand shred -n 1 -u "$drive_t/shred.bin")")

  set_option OpMethod 1
  MakeFile "$drive_t/dod.bin"
  dod+=("$(TimeJob "$fileTitle" Done 'T:\dod.bin')")
  MakeFile "$drive_t/raw.bin"
  raw+=("$(TimeCommand RawDod "$drive_t/raw.bin")")

  set_option OpMethod 4
  MakeTree "$drive_t/tree"
  folder+=("$(TimeJob "$folderTitle" Done 'T:\tree')")
  MakeTree "$drive_t/tree"
  rmdirRun+=("$(TimeCommand wine cmd /c rmdir /s /q 'T:\tree')")
  MakeTree "$drive_t/tree"
  rmRun+=("$(TimeCommand rm -r "$drive_t/tree")")
  echo "run $run: one pass ${window[-1]} s, shred ${shredRun[-1]} s; DoD ${dod[-1]} s, raw ${raw[-1]} s;" \
    "folder ${folder[-1]} s, rmdir /s /q ${rmdirRun[-1]} s, rm -r ${rmRun[-1]} s"
done

w=$(Best "${window[@]}") s=$(Best "${shredRun[@]}") d=$(Best "${dod[@]}") r=$(Best "${raw[@]}")
f=$(Best "${folder[@]}") c=$(Best "${rmdirRun[@]}") m=$(Best "${rmRun[@]}")
echo
printf '%-52s %8s %8s %7s %6s\n' "through the window / beside it" "job s" "other s" "ratio" "goal"
printf '%-52s %8s %8s %7s %6s\n' "One Random Pass, $megabytes MiB / shred -n 1 -u" "$w" "$s" "$(Ratio "$w" "$s")" "<=1.0"
printf '%-52s %8s %8s %7s %6s\n' "DoD 1 cycle, $megabytes MiB / raw 4 sweeps + fsync" "$d" "$r" "$(Ratio "$d" "$r")" ""
printf '%-52s %8s %8s %7s %6s\n' "Delete Only, $files files / wine rmdir /s /q" "$f" "$c" "$(Ratio "$f" "$c")" "<=2.0"
printf '%-52s %8s %8s %7s %6s\n' "Delete Only, $files files / rm -r" "$f" "$m" "$(Ratio "$f" "$m")" ""
