#!/bin/bash
# A manual clean of all nine items in the real main window under Wine, then a daily run at its minute.
# The traces prepared beforehand
# (the search-assistant history three keys deep, typed addresses, AutoComplete's store, files in the
# temporary, Recent and internet-cache folders, an index.dat of known length, URL-cache entries made by
# the browser's own library) are gone afterwards, and what lies beside them is unchanged, the file a
# link in the Recycle Bin points to included.
#
# Usage: test_win32_clean_run.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"

title='Nullora'
HostPath() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
Folder() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }
RegAdd() { wine reg add "$1" /v "$2" /t REG_SZ /d trace /f >/dev/null 2>&1 || fail "could not prepare $1"; }
RegThere() { wine reg query "$1" >/dev/null 2>&1; }

# The registry's traces, and a key beside them.
RegAdd 'HKCU\Software\Microsoft\Search Assistant\ACMru\5603\deep\deeper' one
RegAdd 'HKCU\Software\Microsoft\Internet Explorer\TypedURLs' url1
RegAdd 'HKCU\Software\Microsoft\Internet Explorer\IntelliForms\Storage1' form1
RegAdd 'HKCU\Software\Microsoft\Internet Explorer\IntelliForms\Storage2' login1
RegAdd 'HKCU\Software\Microsoft\Internet Explorer\Main' keep

# The files: temporary folder, Recent, the internet cache; and a file of the user's beside them.
temp=$(HostPath "$(Folder '%TEMP%')")
[[ -d $temp ]] || fail "the prefix has no temporary folder ($temp)"
mkdir -p "$temp/sub"
printf 'tmp\n' >"$temp/a.tmp"
printf 'tmp\n' >"$temp/sub/b.tmp"
profile=$(HostPath "$(Folder '%USERPROFILE%')")
recent=$(find "$profile" -type d -name Recent | head -1)
[[ -n $recent ]] || fail "the prefix has no Recent folder"
printf 'link\n' >"$recent/doc.lnk"
printf 'mine\n' >"$drive_t/keep.txt"
# The Recycle Bin holds a link to a file elsewhere: Wine's emptying would delete that file.
trash="$XDG_DATA_HOME/Trash"
mkdir -p "$trash/files" "$trash/info"
printf 'precious\n' >"$temp/../binned-target.txt"
binnedTarget=$(readlink -f "$temp/../binned-target.txt")
ln -s "$binnedTarget" "$trash/files/linked.txt"
printf '[Trash Info]\nPath=%s\nDeletionDate=2026-12-09T10:00:00\n' "$drive_t/linked.txt" >"$trash/info/linked.txt.trashinfo"

# The URL cache, through the browser's library.
drive cache-add page 'http://example.org/page.html' >/dev/null || fail "no page could be put into the URL cache"
drive cache-add cookie 'http://example.org/' >/dev/null || fail "no cookie could be set in this prefix"
drive cache-add history 'http://example.org/visited.html' >/dev/null || fail "no history entry could be made in this prefix"
before=$(drive cache-count | tr -d '\r')
echo "URL cache before: $before"
cache=$(find "$profile" -type d -iname 'INetCache' -o -type d -iname 'Temporary Internet Files' | head -1)
cookies=$(find "$profile" -type d -iname 'INetCookies' -o -type d -iname 'Cookies' | head -1)
if [[ -n $cookies ]]; then
  head -c 4096 /dev/urandom >"$cookies/index.dat"
  echo "index.dat of 4096 bytes in ${cookies#"$profile/"}"
fi

wine reg add 'HKCU\Software\VB and VBA Program Settings\Nullora\Options' /v OpShowInfoDialog2 /t REG_SZ /d 1 /f \
  >/dev/null 2>&1
for k in 1 2 3 4 5 6 7 8 9; do set_option "OpCleanKey$k" -1; done
set_option OpMethod 0

app_start
drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open"
drive click "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""
# The link in the bin is the one thing left, and the run's last line says so.
drive wait-text "$title" "Clean Complete, except: Recycle Bin: not emptied, it holds a link" 120000 >/dev/null || {
  screenshot test_win32_clean_run_stuck
  drive dump "$title"
  fail "the clean run did not end saying what it left"
}
screenshot test_win32_clean_run_done

RegThere 'HKCU\Software\Microsoft\Search Assistant\ACMru' && fail "the search history is still there"
RegThere 'HKCU\Software\Microsoft\Internet Explorer\TypedURLs' && fail "the typed addresses are still there"
RegThere 'HKCU\Software\Microsoft\Internet Explorer\IntelliForms\Storage1' && fail "AutoComplete's store is still there"
RegThere 'HKCU\Software\Microsoft\Internet Explorer\IntelliForms\Storage2' || fail "the saved logins went with AutoComplete"
RegThere 'HKCU\Software\Microsoft\Internet Explorer\Main' || fail "a key beside the traces went too"
echo "the registry's traces are gone, the key beside them stays"
[[ -e $temp/a.tmp || -e $temp/sub/b.tmp ]] && fail "temporary files are still there"
[[ -d $temp/sub ]] || fail "a folder of the temporary folder was removed"
[[ -e $recent/doc.lnk ]] && fail "the Recent documents are still there"
[[ $(cat "$drive_t/keep.txt") == mine ]] || fail "a file outside the traces changed"
[[ $(cat "$binnedTarget" 2>/dev/null) == precious ]] || fail "the file a link in the bin points to was touched"
[[ -L $trash/files/linked.txt ]] || fail "the link in the bin is gone"
echo "the temporary and Recent files are gone, the folders and the user's file stay"
if [[ -n $cookies && -e $cookies/index.dat ]]; then
  [[ $(stat -c %s "$cookies/index.dat") == 4096 ]] || fail "index.dat changed its length"
  [[ -z $(tr -d '\0' <"$cookies/index.dat") ]] || fail "index.dat still holds other bytes than zeros"
  echo "index.dat is zeros, with its length"
fi
after=$(drive cache-count | tr -d '\r')
echo "URL cache after: $after"
[[ $after == 'pages 0 cookies 0 history 0' ]] || fail "the URL cache still holds entries: $after"
left=$(find "$cache" -type f ! -name 'index.dat' ! -name 'container.dat' 2>/dev/null | head -3)
[[ -z $cache || -z $left ]] || fail "files left in the internet cache: $left"

drive close "$title" >/dev/null
app_wait_ended 20 || fail "nullora.exe still runs 20 s after its window was closed"

# A daily run fires at its minute: the schedule's timer ticks a minute after the start, so the daily
# time is set to the minute that will then be.
RegAdd 'HKCU\Software\Microsoft\Search Assistant\ACMru\daily' one
for k in 1 3 4 5 6 7 8 9; do set_option "OpCleanKey$k" 0; done
set_option "AutoClean Mode" 2
# Started early enough in a minute that the tick, a minute and a few seconds later, falls into the next.
while (($(date +%-S) < 3 || $(date +%-S) > 40)); do sleep 1; done
start=$(date +%s)
set_option "Daily Run Time" "$(date -d @$((start + 62)) +%I%M%p)"
app_start
drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open for the daily run"
for _ in $(seq 100); do RegThere 'HKCU\Software\Microsoft\Search Assistant\ACMru' || break; sleep 1; done
RegThere 'HKCU\Software\Microsoft\Search Assistant\ACMru' && fail "the daily run did not come at its minute"
echo "the daily run came at its minute"
drive close "$title" >/dev/null
app_wait_ended 20 || fail "nullora.exe still runs 20 s after its window was closed"
echo "PASSED"
