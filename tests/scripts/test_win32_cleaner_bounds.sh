#!/bin/bash
# The cleaner and the tray program within their bounds, with the real program under Wine:
#   - the Internet cache folder pointed at a drive root: the drive's files stay, and the run's last
#     line says why the item was left;
#   - a Custom pass count of 0: the file is still overwritten once (its bytes are read back through a
#     descriptor held open across the wipe) before it goes;
#   - Explorer's Recycle Bin entry in the registry view Explorer reads (the 64-bit one, where the
#     prefix has one);
#   - a second start of the tray program hands over to the first and ends, by hand and at logon.
#
# Usage: test_win32_cleaner_bounds.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"

title='Nullora'
fileTitle='Nullora - Removing a File'
shellFolders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
set_option OpShowInfoDialog2 1
for k in 1 2 3 4 5 7 8 9; do set_option "OpCleanKey$k" 0; done
set_option OpCleanKey6 -1
set_option OpMethod 0

# 1. The Internet cache is the root of drive T:, which holds the user's files.
mkdir -p "$drive_t/sub"
printf 'mine\n' >"$drive_t/keep.txt"
printf 'mine too\n' >"$drive_t/sub/deep.txt"
Fingerprint() { (cd "$drive_t" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
before=$(Fingerprint)
wine reg add "$shellFolders" /v Cache /t REG_EXPAND_SZ /d 'T:\' /f >/dev/null 2>&1 || fail "could not point the cache at T:\\"
app_start
drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open"
drive click "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""
drive wait-text "$title" "Clean Complete, except: Temporary Internet Files: refused, the folder is a drive root" \
  60000 >/dev/null || { drive dump "$title"; fail "the run did not say why the cache folder was left"; }
screenshot test_win32_cleaner_bounds_refused
[[ $(Fingerprint) == "$before" ]] || fail "files of drive T: changed"
echo "a cache folder at a drive root: refused, the drive's files untouched, and said so"

# 2. Explorer's entry for the Recycle Bin, where Explorer reads it.
clsid='HKCR\CLSID\{645FF040-5081-101B-9F08-00AA002F954E}\shell\Wipe Recycle Bin\command'
view=()
[[ -d $WINEPREFIX/drive_c/windows/syswow64 ]] && view=(/reg:64)
wine reg query "$clsid" "${view[@]}" 2>/dev/null | grep -q 'Recycle' ||
  fail "the Recycle Bin entry is not in the registry view Explorer reads (${view[*]:-the only one})"
echo "the Recycle Bin entry is in ${view[*]:-the only view there is}"

# 3. A second start of the tray program while the first runs: it ends, the first stays.
first=$app_pid
for argument in "" StartUpMin; do
  if [[ -n $argument ]]; then app_start "$argument"; else app_start; fi
  app_wait_ended 30 || fail "a second copy started with \"$argument\" still runs beside the first"
done
app_pid=$first
kill -0 "$app_pid" 2>/dev/null || fail "the first copy ended"
drive wait-window "$title" 5000 >/dev/null || fail "the first copy's window is gone"
echo "a second start, by hand and at logon, ends and leaves the first"
drive close "$title" >/dev/null
app_wait_ended 20 || fail "nullora.exe still runs 20 s after its window was closed"

# 4. Custom with a pass count of 0 still overwrites. The descriptor keeps the file's data readable on
# the host after the program has deleted its name.
set_option OpMethod 3
set_option OpPasses 0
secret='the text that must not survive the wipe'
printf '%s' "$secret" >"$drive_t/secret.txt"
exec 3<"$drive_t/secret.txt"
app_start 'T:\secret.txt'
drive wait-window "$fileTitle" 60000 >/dev/null || fail "the file job did not open"
drive click "$fileTitle" "Yes" 10000 >/dev/null || fail "no Yes in the file job"
drive wait-text "$fileTitle" "Done" 60000 >/dev/null || { drive dump "$fileTitle"; fail "the file job did not end in Done"; }
drive wait-text "$fileTitle" "Scheme : Custom.  Passes: 1." 2000 >/dev/null || fail "the scheme line does not show the pass used"
[[ -e $drive_t/secret.txt ]] && fail "the file is still there"
left=$(head -c ${#secret} <&3)
exec 3<&-
[[ ${#left} == "${#secret}" && $left =~ ^[01]+$ ]] || fail "the file's bytes were not overwritten: \"$left\""
echo "Custom with 0 passes overwrote the file once before deleting it"
drive click "$fileTitle" "Exit" 10000 >/dev/null
app_wait_ended 20 || fail "nullora.exe still runs 20 s after Exit"
echo "PASSED"
