#!/bin/bash
# The preview through the real main window under Wine and Xvfb, on a Chrome cache of many files: the
# time from "Preview" to its last line, the longest the main window took to answer another program's
# request for a control's text meanwhile, and how soon "Stop" ends a preview half way.
#
# Not a test: run by hand. Usage:
#   bench/preview_end_to_end.sh <build dir> [files]
# e.g. bench/preview_end_to_end.sh build/win32 100000
set -u
repo=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tests/scripts/real_window_session.sh
source "$repo/tests/scripts/real_window_session.sh"
files=${2:-100000}
session_start "${1:-}"

title='Nullora'
preview='Nullora - Preview'
finished='What a clean of the ticked items would remove (nothing has been changed):'
stopped='The preview was stopped; what it counted until then:'
Now() { echo "${EPOCHREALTIME/,/.}"; }
Elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
HostPath() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
Folder() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }

cache="$(HostPath "$(Folder '%LOCALAPPDATA%')")/Google/Chrome/User Data/Default/Cache/Cache_Data"
mkdir -p "$cache"
# Without a process per file: 100,000 files take seconds to make.
for ((i = 0; i < files; i++)); do printf 'cached page %d\n' "$i" >"$cache/f_$i"; done
sync
echo "a Chrome cache of $files files"

set_option OpShowInfoDialog2 1
for k in 1 2 3 4 5 6 7 8 9; do set_option "OpCleanKey$k" 0; done
set_option OpCleanChromeCache -1
app_start
drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open"
drive wait-text "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""

start=$(Now)
drive responsive "$title" "&Preview" "$finished" 1800000 1000 "$preview" || echo "(an answer took over a second)"
echo "the preview of $files files: $(Elapsed "$start" "$(Now)") s from the button to its last line"
drive dump "$preview" | tr -d '\r' | grep -F 'Google Chrome: Cache' || fail "the preview has no line for the cache"
[[ $(find "$cache" -type f | wc -l) == "$files" ]] || fail "the preview changed the cache"
drive click "$preview" "Close" 10000 >/dev/null
drive wait-gone "$preview" 10000 >/dev/null

drive click "$title" "&Preview" 10000 >/dev/null || fail "no \"Preview\" button"
sleep 3
start=$(Now)
drive click "$preview" "&Stop" 10000 >/dev/null || fail "no \"Stop\" in the preview"
drive wait-text "$preview" "$stopped" 30000 >/dev/null || fail "Stop did not end the preview"
echo "Stop ended the preview after $(Elapsed "$start" "$(Now)") s"
drive close "$preview" >/dev/null
drive wait-gone "$preview" 10000 >/dev/null
drive close "$title" >/dev/null
app_wait_ended 20 || fail "nullora.exe still runs 20 s after its window was closed"
