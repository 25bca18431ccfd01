#!/bin/bash
# The browsers' items through the real main window under Wine and Xvfb:
#   - a Chrome cache of many files (One Random Pass) against the folder job on an identical tree, each
#     timed from its button to its last line ("Clean Complete." / "Done");
#   - a History database of some tens of MB cleaned alone (its rows deleted through SQLite, the file
#     rebuilt, its journal wiped), from the button to "Clean Complete."; then the file job on a file of
#     the journal's size, so that the database's own part is the one less the other.
#
# Not a test: run by hand. Usage:
#   bench/browser_clean_end_to_end.sh <build dir> [cache files] [cache MiB] [History MiB] [repeats]
# e.g. bench/browser_clean_end_to_end.sh build/win32 20000 500 50 3
set -u
repo=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tests/scripts/real_window_session.sh
source "$repo/tests/scripts/real_window_session.sh"
files=${2:-20000}
cacheMegabytes=${3:-500}
historyMegabytes=${4:-50}
repeats=${5:-3}
session_start "${1:-}"
command -v sqlite3 >/dev/null || fail "no sqlite3 tool (Debian package sqlite3)"

title='Nullora'
folderTitle='Nullora - Removing a Folder'
fileTitle='Nullora - Removing a File'
Now() { echo "${EPOCHREALTIME/,/.}"; }
Elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
Ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
Best() { printf '%s\n' "$@" | sort -g | head -1; }
HostPath() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
Folder() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }

profile="$(HostPath "$(Folder '%LOCALAPPDATA%')")/Google/Chrome/User Data/Default"
MakeCache() {
  local root=$1 size=$((cacheMegabytes * 1024 * 1024 / files)) i
  mkdir -p "$root"
  head -c "$size" /dev/urandom >"$root/.one"
  for ((i = 0; i < files; i++)); do cp "$root/.one" "$root/f_$i"; done
  rm "$root/.one"
  sync
}
MakeHistory() {
  local rows=$((historyMegabytes * 1024 * 1024 / 600))
  rm -f "$profile/History" "$profile/History-journal"
  sqlite3 "$profile/History" <<SQL
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT,url LONGVARCHAR,title LONGVARCHAR,visit_count INTEGER DEFAULT 0 NOT NULL,typed_count INTEGER DEFAULT 0 NOT NULL,last_visit_time INTEGER NOT NULL,hidden INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT,url INTEGER NOT NULL,visit_time INTEGER NOT NULL);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
INSERT INTO urls(url, title, visit_count, last_visit_time) SELECT 'https://site' || i || '.example/' || hex(randomblob(200)), hex(randomblob(60)), 1, i FROM n;
INSERT INTO visits(url, visit_time) SELECT id, id FROM urls;
SQL
  sync
}
# Seconds from "Secure Delete Now !!" to "Clean Complete." in the main window.
TimeClean() {
  local start end
  app_start
  drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open"
  start=$(Now)
  drive click "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""
  drive wait-text "$title" "Clean Complete." 3600000 >/dev/null || { drive dump "$title"; fail "the clean did not complete"; }
  end=$(Now)
  drive close "$title" >/dev/null
  app_wait_ended 20 || fail "nullora.exe did not end"
  Elapsed "$start" "$end"
}
# Seconds from a job dialog's "Yes" to its "Done": the window's title, then the job's argument.
TimeJob() {
  local title=$1 start end
  app_start "$2"
  drive wait-window "$title" 60000 >/dev/null || fail "the job \"$title\" did not open"
  start=$(Now)
  drive click "$title" "Yes" 10000 >/dev/null || fail "no Yes"
  drive wait-text "$title" "Done" 3600000 >/dev/null || fail "the job \"$title\" did not reach Done"
  end=$(Now)
  drive click "$title" "Exit" 10000 >/dev/null
  app_wait_ended 20 || fail "nullora.exe did not end"
  Elapsed "$start" "$end"
}

set_option OpShowInfoDialog2 1
set_option OpMethod 0
for k in 1 2 3 4 5 6 7 8 9; do set_option "OpCleanKey$k" 0; done
echo "a cache of $files files ($cacheMegabytes MiB), a History of about $historyMegabytes MiB, best of $repeats runs"
cache=() folder=() history=() journal=()
for ((run = 1; run <= repeats; run++)); do
  set_option OpCleanChromeCache -1
  set_option OpCleanChromeHistory 0
  MakeCache "$profile/Cache/Cache_Data"
  cache+=("$(TimeClean)")
  MakeCache "$drive_t/tree"
  folder+=("$(TimeJob "$folderTitle" 'T:\tree')")
  set_option OpCleanChromeCache 0
  set_option OpCleanChromeHistory -1
  MakeHistory
  size=$(stat -c %s "$profile/History")
  history+=("$(TimeClean)")
  # The clean's journal holds every page the delete changed, about the whole file; it is gone by now.
  journalSize=$size
  head -c "$journalSize" /dev/urandom >"$drive_t/journal"
  sync
  journal+=("$(TimeJob "$fileTitle" 'T:\journal')")
  echo "run $run: cache ${cache[-1]} s, folder job ${folder[-1]} s; History of $((size >> 20)) MiB ${history[-1]} s," \
    "its journal of $((journalSize >> 20)) MiB alone ${journal[-1]} s"
done
c=$(Best "${cache[@]}") f=$(Best "${folder[@]}") h=$(Best "${history[@]}") j=$(Best "${journal[@]}")
echo
printf '%-58s %8s %8s %7s %6s\n' "through the window" "item s" "other s" "ratio" "goal"
printf '%-58s %8s %8s %7s %6s\n' "Chrome cache, $files files, One Random Pass / folder job" "$c" "$f" "$(Ratio "$c" "$f")" "<=1.2"
printf '%-58s %8s %8s %7s %6s\n' "Chrome History of about $historyMegabytes MiB / its journal's wipe" "$h" "$j" "" ""
printf '%-58s %8s %8s %7s %6s\n' "  the database's own part (the one less the other)" \
  "$(awk -v a="$h" -v b="$j" 'BEGIN { printf "%.2f", a - b }')" "" "" "<2 s"
