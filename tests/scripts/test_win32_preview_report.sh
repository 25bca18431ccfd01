#!/bin/bash
# The preview and the report in the real program under Wine: a Chrome profile, the Run dialog's history
# and a thumbnail cache in the prefix; "Preview" lists what a clean would remove and changes no byte of
# the profile and no registry value; the clean then removes the same, and "Details" shows it. Screenshots
# of the preview and the report at 96 and at 144 DPI.
#
# Usage: test_win32_preview_report.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"
command -v sqlite3 >/dev/null || skip "no sqlite3 tool to make the profile (Debian package sqlite3)"
grep -qa 'SQLite format 3' "$exe" || skip "this nullora.exe was built without SQLite (see scripts/fetch_sqlite.sh)"

title='Nullora'
preview='Nullora - Preview'
HostPath() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
Folder() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }
local_app=$(HostPath "$(Folder '%LOCALAPPDATA%')")
[[ -d $local_app ]] || fail "the prefix has no Local AppData ($local_app)"
profile="$local_app/Google/Chrome/User Data/Default"
thumbs="$local_app/Microsoft/Windows/Explorer"
mkdir -p "$profile" "$thumbs"
head -c 3000 /dev/zero | tr '\0' 'T' >"$thumbs/thumbcache_256.db"
printf 'not a cache\n' >"$thumbs/ExplorerStartupLog.etl"
printf '{"roots":{"bookmark_bar":{"children":[{"type":"url","url":"https://bank.example/"}]}}}' >"$profile/Bookmarks"
sqlite3 "$profile/History" <<'SQL' || fail "could not make the History database"
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT,url LONGVARCHAR,title LONGVARCHAR,visit_count INTEGER DEFAULT 0 NOT NULL,typed_count INTEGER DEFAULT 0 NOT NULL,last_visit_time INTEGER NOT NULL,hidden INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT,url INTEGER NOT NULL,visit_time INTEGER NOT NULL);
INSERT INTO meta VALUES ('version','70');
INSERT INTO urls(url,title,visit_count,typed_count,last_visit_time) VALUES ('https://bank.example/','Bank',3,1,9),('https://secret-visit.example/','Secret',2,0,8),('https://other.example/','Other',1,0,7);
INSERT INTO visits(url,visit_time) VALUES (1,9),(2,8),(2,7),(3,6);
SQL
run_mru='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\RunMRU'
for value in a b MRUList; do
  wine reg add "$run_mru" /v "$value" /t REG_SZ /d 'secret command' /f >/dev/null 2>&1 || fail "could not write $run_mru"
done
State() {
  (cd "$local_app" && find . -type f -print0 | sort -z | xargs -0 stat -c '%n %s %Y' && find . -type f -print0 | sort -z | xargs -0 sha256sum)
  wine reg query "$run_mru" 2>/dev/null | tr -d '\r'
}

set_option OpShowInfoDialog2 1
for k in 1 2 3 4 5 6 7 8 9; do set_option "OpCleanKey$k" 0; done
set_option OpCleanChromeHistory -1
for key in OpCleanWinRun OpCleanWinThumbnails; do set_option "$key" -1; done
set_option OpMethod 0

Lines() { drive dump "$1" | tr -d '\r'; }
expected_preview=(
  'Google Chrome: History: 2 pages, 4 visits'
  'Run Dialog History: 3 registry values'
  'Thumbnail Cache: 1 file (2.9 KB)'
  'In all, the clean would remove 1 file (2.9 KB), 3 registry values, 2 pages, 4 visits.'
)
before=$(State)
app_start
drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open"
drive wait-text "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""
drive click "$title" "&Preview" 10000 >/dev/null || fail "no \"Preview\" button"
drive wait-text "$preview" "What a clean of the ticked items would remove (nothing has been changed):" 60000 >/dev/null ||
  { drive dump "$preview"; fail "the preview did not finish"; }
shown=$(Lines "$preview")
for line in "${expected_preview[@]}"; do
  grep -qF -- "$line" <<<"$shown" || { echo "$shown"; fail "the preview lacks: $line"; }
done
sleep 1
screenshot test_win32_preview_96dpi "$preview"
[[ $(State) == "$before" ]] || { diff <(echo "$before") <(State); fail "the preview changed a file or a value"; }
echo "the preview counted the profile, the registry and the cache, and changed nothing"
drive click "$preview" "Close" 10000 >/dev/null || fail "no Close in the preview"
drive wait-gone "$preview" 10000 >/dev/null || fail "Close did not close the preview"

drive click "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""
drive wait-text "$title" "Clean Complete." 60000 >/dev/null || { drive dump "$title"; fail "the clean did not complete"; }
drive click "$title" "De&tails" 10000 >/dev/null || fail "no \"Details\" button after the clean"
drive wait-text "Nullora - Clean Report" "What the last clean did:" 20000 >/dev/null || fail "Details showed no report"
shown=$(Lines "Nullora - Clean Report")
for line in "${expected_preview[@]}"; do
  line=${line/would remove/removed}
  grep -qF -- "$line" <<<"$shown" || { echo "$shown"; fail "the report lacks: $line"; }
done
sleep 1
screenshot test_win32_report_96dpi "Nullora - Clean Report"
[[ -e $thumbs/thumbcache_256.db ]] && fail "the thumbnail cache is still there"
[[ -e $thumbs/ExplorerStartupLog.etl ]] || fail "a file beside the caches went"
[[ $(sqlite3 "$profile/History" "SELECT url FROM urls") == "https://bank.example/" ]] || fail "History is not the bookmark's alone"
wine reg query "$run_mru" /v a >/dev/null 2>&1 && fail "the Run dialog's history is still there"
wine reg query "$run_mru" >/dev/null 2>&1 || fail "the RunMRU key itself went"
echo "the clean removed what the preview counted, and the report says so"
drive close "Nullora - Clean Report" >/dev/null
drive wait-gone "Nullora - Clean Report" 10000 >/dev/null || fail "the report did not close"
drive close "$title" >/dev/null
app_wait_ended 20 || { drive dump "$title"; tail -20 "$temp/nullora.log"; fail "nullora.exe still runs 20 s after its window was closed"; }

# The preview at 144 DPI.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
app_start
drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open at 144 DPI"
drive click "$title" "&Preview" 10000 >/dev/null || fail "no \"Preview\" button at 144 DPI"
drive wait-text "$preview" "What a clean of the ticked items would remove (nothing has been changed):" 60000 >/dev/null ||
  fail "the preview did not finish at 144 DPI"
sleep 1
screenshot test_win32_preview_144dpi "$preview"
drive close "$preview" >/dev/null
drive wait-gone "$preview" 10000 >/dev/null || fail "the preview did not close at 144 DPI"
drive click "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\" at 144 DPI"
drive wait-text "$title" "Clean Complete." 60000 >/dev/null || fail "the clean did not complete at 144 DPI"
drive click "$title" "De&tails" 10000 >/dev/null || fail "no \"Details\" at 144 DPI"
drive wait-text "Nullora - Clean Report" "What the last clean did:" 20000 >/dev/null || fail "no report at 144 DPI"
sleep 1
screenshot test_win32_report_144dpi "Nullora - Clean Report"
drive close "Nullora - Clean Report" >/dev/null
drive wait-gone "Nullora - Clean Report" 10000 >/dev/null || fail "the report did not close at 144 DPI"
drive close "$title" >/dev/null
app_wait_ended 20 || fail "nullora.exe still runs 20 s after its window was closed at 144 DPI"
echo "PASSED"
