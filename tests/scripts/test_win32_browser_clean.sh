#!/bin/bash
# A Chrome profile in the prefix, cleaned by the real program under Wine through the SQLite built into
# it: the tree shows the browser after the nine, its History rows go but the bookmarked page's, its
# cookies go but the keep list's, its sessions and cache are wiped, and its saved logins stay. Then the
# same profile with Chrome "running": nothing of it changes and the run's end names it.
#
# Usage: test_win32_browser_clean.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"
command -v sqlite3 >/dev/null || skip "no sqlite3 tool to make the profile (Debian package sqlite3)"
# A build made without SQLite's source (setup could not fetch it) leaves databases alone, and says so.
grep -qa 'SQLite format 3' "$exe" || skip "this nullora.exe was built without SQLite (see scripts/fetch_sqlite.sh)"

title='Nullora'
HostPath() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
Folder() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }
local_app=$(HostPath "$(Folder '%LOCALAPPDATA%')")
[[ -d $local_app ]] || fail "the prefix has no Local AppData ($local_app)"
chrome="$local_app/Google/Chrome/User Data"
profile="$chrome/Default"
# Where it can be, Chrome's folders lie on a small ext2 image of their own, so that afterwards the raw
# image can be searched for what was removed: ext2 never clears a freed block. It is mounted one level
# above the user data folder: a folder that is itself a mount point is a reparse point to Windows and
# Wine alike, which the cleaner does not walk into.
image=""
mountPoint="$local_app/Google"
if [[ $(id -u) -eq 0 ]] && command -v mkfs.ext2 >/dev/null && losetup -f >/dev/null 2>&1; then
  image="$temp/user-data.img"
  mkdir -p "$mountPoint"
  truncate -s 16M "$image" && mkfs.ext2 -q -F "$image" && mount -o loop "$image" "$mountPoint" ||
    fail "could not mount an image at Chrome's folder"
  session_on_cleanup "umount '$mountPoint' 2>/dev/null"
else
  echo "no loop device here: the raw medium is not searched"
fi
mkdir -p "$profile/Network" "$profile/Sessions" "$profile/Cache/Cache_Data"
printf 'tab of a secret visit\n' >"$profile/Sessions/Session_13400000000000000"
printf 'cached secret page\n' >"$profile/Cache/Cache_Data/f_000001"
printf 'the user'"'"'s saved logins\n' >"$profile/Login Data"
printf '{"roots":{"bookmark_bar":{"children":[{"type":"url","url":"https://bank.example/"}]}}}' >"$profile/Bookmarks"
sqlite3 "$profile/History" <<'SQL' || fail "could not make the History database"
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE urls(id INTEGER PRIMARY KEY AUTOINCREMENT,url LONGVARCHAR,title LONGVARCHAR,visit_count INTEGER DEFAULT 0 NOT NULL,typed_count INTEGER DEFAULT 0 NOT NULL,last_visit_time INTEGER NOT NULL,hidden INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visits(id INTEGER PRIMARY KEY AUTOINCREMENT,url INTEGER NOT NULL,visit_time INTEGER NOT NULL);
INSERT INTO meta VALUES ('version','70');
INSERT INTO urls(url,title,visit_count,typed_count,last_visit_time) VALUES ('https://bank.example/','Bank',3,1,9),('https://secret-visit.example/','Secret',2,0,8);
INSERT INTO visits(url,visit_time) VALUES (1,9),(2,8);
SQL
sqlite3 "$profile/Network/Cookies" <<'SQL' || fail "could not make the Cookies database"
CREATE TABLE cookies(creation_utc INTEGER NOT NULL,host_key TEXT NOT NULL,name TEXT NOT NULL,value TEXT NOT NULL,encrypted_value BLOB NOT NULL);
INSERT INTO cookies VALUES (1,'.keep.example','session','',x'00'),(2,'.tracker-of-mine.example','id','',x'00');
SQL
Fingerprint() { sha256sum "$profile/History" "$profile/Network/Cookies" "$profile/Login Data"; }

set_option OpShowInfoDialog2 1
for k in 1 2 3 4 5 6 7 8 9; do set_option "OpCleanKey$k" 0; done
for item in Cache Cookies History Sessions; do set_option "OpCleanChrome$item" -1; done
set_option OpCookieKeepList keep.example
set_option OpMethod 0

# Chrome "runs": a program of its name with a window, here a copy of nullora.exe showing a file job's
# question (a job is no second tray program). Its files stay as they are.
cp "$exe" "$temp/chrome.exe" || fail "no program to stand in for chrome.exe"
printf 'x' >"$drive_t/question.txt"
(cd "$temp" && exec wine "$temp/chrome.exe" 'T:\question.txt') >/dev/null 2>&1 &
fake=$!
drive wait-window "Nullora - Removing a File" 30000 >/dev/null || { kill "$fake"; fail "the stand-in for chrome.exe did not start"; }
before=$(Fingerprint)
app_start
drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open"
drive click "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""
drive wait-text "$title" "Clean Complete, except: Google Chrome is running; close it and clean again" 60000 >/dev/null ||
  { drive dump "$title"; fail "the run did not say that Chrome runs"; }
[[ $(Fingerprint) == "$before" ]] || fail "a running Chrome's files changed"
[[ -e $profile/Sessions/Session_13400000000000000 ]] || fail "a running Chrome's session went"
drive close "Nullora - Removing a File" >/dev/null
wait "$fake" 2>/dev/null
[[ $(cat "$drive_t/question.txt") == x ]] || fail "the stand-in's question was answered"
echo "a running Chrome is left whole, and named"

drive click "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""
drive wait-text "$title" "Clean Complete." 60000 >/dev/null || { drive dump "$title"; fail "the clean of Chrome did not complete"; }
screenshot test_win32_browser_clean_done
[[ -e $profile/Sessions/Session_13400000000000000 ]] && fail "the session file is still there"
[[ -e $profile/Cache/Cache_Data/f_000001 ]] && fail "the cache file is still there"
[[ $(cat "$profile/Login Data") == "the user's saved logins" ]] || fail "the saved logins changed"
[[ $(sqlite3 "$profile/History" "SELECT url || ' ' || visit_count FROM urls") == "https://bank.example/ 0" ]] ||
  fail "History does not hold exactly the bookmarked page, reset: $(sqlite3 "$profile/History" 'SELECT url FROM urls')"
[[ $(sqlite3 "$profile/History" "SELECT count(*) FROM visits") == 0 ]] || fail "visits are left"
[[ $(sqlite3 "$profile/History" "PRAGMA integrity_check") == ok ]] || fail "History is damaged"
[[ $(sqlite3 "$profile/Network/Cookies" "SELECT host_key FROM cookies") == ".keep.example" ]] || fail "the cookies are not the keep list's"
grep -q 'secret-visit' "$profile/History" && fail "a removed row is still in the History file"
grep -q 'tracker-of-mine' "$profile/Network/Cookies" && fail "a removed cookie is still in the Cookies file"
for journal in "$profile/History-journal" "$profile/Network/Cookies-journal"; do
  [[ -e $journal ]] && fail "$journal, which held the old pages, is still there"
done
echo "Chrome's history, cookies, sessions and cache are cleaned; the bookmark, the kept cookie and the logins stay"
drive close "$title" >/dev/null
app_wait_ended 20 || fail "nullora.exe still runs 20 s after its window was closed"

if [[ -n $image ]]; then
  # Every block the profile ever had, freed ones included.
  sync
  # The wineserver may still be letting go of the folders it watched.
  for _ in $(seq 50); do umount "$mountPoint" 2>/dev/null && break; sleep 0.1; done
  if mountpoint -q "$mountPoint"; then
    wineserver -k 2>/dev/null
    sleep 1
    umount "$mountPoint" || fail "the image would not unmount"
  fi
  for marker in 'secret-visit' 'tracker-of-mine' 'tab of a secret visit' 'cached secret page'; do
    grep -qa -- "$marker" "$image" && fail "\"$marker\" is still on the medium"
  done
  for kept in 'bank.example' 'keep.example' "the user's saved logins"; do
    grep -qa -- "$kept" "$image" || fail "\"$kept\" is gone from the medium, though it was to stay"
  done
  echo "nothing removed is left anywhere on the medium; what was kept is there"
fi
echo "PASSED"
