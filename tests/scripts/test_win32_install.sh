#!/bin/bash
# The setup program under Wine, in a prefix of the test's own: a silent per-user install (the files, the
# Start-menu entry, the uninstall entry, Explorer's entries quoted and pointing at the installed program),
# a wipe job started through the command line Explorer would run, an upgrade over the first install that
# keeps a setting, and a silent uninstall of the running program that closes it and leaves no file of the
# program and no registry entry of it behind, not even those the program wrote itself (the settings kept;
# then, after a second install, removed with /REMOVESETTINGS).
#
# Usage: test_win32_install.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"
case "$(pe_machine "$exe")" in
  014c) setup=$(ls "$build"/nullora-setup-*.exe 2>/dev/null | grep -v -- '-x64\.exe$' | head -1) ;;
  *) setup=$(ls "$build"/nullora-setup-*-x64.exe 2>/dev/null | head -1) ;;
esac
[[ -n $setup && -f $setup ]] || skip "no setup program was built (makensis: Debian package nsis)"
[[ $(pe_machine "$setup") == "$(pe_machine "$exe")" ]] || fail "$setup is not built for the program's machine"

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nullora'
settings_key='HKCU\Software\VB and VBA Program Settings\Nullora\Options'
HostPath() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
Folder() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }
# A value as reg.exe shows it ("" for the default value), or nothing; in the view Explorer and Windows
# read (reg.exe of a 32-bit Wine shows the 32-bit one unless asked).
Value() {
  local args=(/v "$2")
  [[ -z $2 ]] && args=(/ve)
  wine reg query "$1" "${args[@]}" /reg:64 2>/dev/null | tr -d '\r' |
    sed -nE 's/^ +[^ ].* +REG_(SZ|DWORD|EXPAND_SZ) +//p' | head -1
}
# Whether a key or value is there in either view.
Present() { wine reg query "$@" /reg:64 >/dev/null 2>&1 || wine reg query "$@" /reg:32 >/dev/null 2>&1; }
Install() { wine "$setup" /S "$@" || fail "the setup program failed ($?)"; }

local_app=$(Folder '%LOCALAPPDATA%')
local_host=$(HostPath "$local_app")
target="$local_app\\Programs\\Nullora"
installed="$local_host/Programs/Nullora"
start_menu="$(HostPath "$(Folder '%APPDATA%')")/Microsoft/Windows/Start Menu/Programs/Nullora.lnk"

Install
for file in nullora.exe nullora-cli.exe TIPOFDAY.TXT uninstall.exe; do
  [[ -f $installed/$file ]] || fail "$file is not in $installed"
done
cmp -s "$exe" "$installed/nullora.exe" || fail "the installed nullora.exe is not the one built"
[[ -f $start_menu ]] || fail "no Start-menu entry ($start_menu)"
[[ $(Value "$uninstall_key" DisplayName) == Nullora ]] || fail "no uninstall entry in $uninstall_key"
[[ $(Value "$uninstall_key" UninstallString) == "\"$target\\uninstall.exe\"" ]] ||
  fail "the uninstall string is not the quoted uninstaller: $(Value "$uninstall_key" UninstallString)"
[[ $(Value "$uninstall_key" QuietUninstallString) == "\"$target\\uninstall.exe\" /S" ]] ||
  fail "the quiet uninstall string is wrong: $(Value "$uninstall_key" QuietUninstallString)"
[[ $(Value "$uninstall_key" InstallLocation) == "$target" ]] || fail "the install location is wrong"
version=$(basename "$setup" .exe)
version=${version#nullora-setup-}
[[ $(Value "$uninstall_key" DisplayVersion) == "${version%-x64}" ]] || fail "the version shown is not the setup's"
for name in Publisher DisplayIcon EstimatedSize NoModify NoRepair; do
  [[ -n $(Value "$uninstall_key" "$name") ]] || fail "the uninstall entry has no $name"
done
file_command=$(Value 'HKCU\Software\Classes\*\shell\Nullora\command' '')
[[ $file_command == "\"$target\\nullora.exe\" %1" ]] || fail "Explorer's file entry is not the installed program: $file_command"
[[ $(Value 'HKCU\Software\Classes\Folder\shell\Nullora\command' '') == "\"$target\\nullora.exe\" %1" ]] ||
  fail "Explorer's folder entry is not the installed program"
echo "installed for the current user into $target, with its Start-menu, uninstall and Explorer entries"

# The wipe job as Explorer starts it: the registered command with the file for %1.
printf 'secret\n' >"$drive_t/victim.txt"
program=${file_command#\"}
program=${program%%\"*}
(cd "$temp" && exec wine "$program" 'T:\victim.txt') >>"$temp/nullora.log" 2>&1 &
app_pid=$!
title='Nullora - Removing a File'
drive wait-window "$title" 60000 >/dev/null || fail "the registered command opened no file job"
drive click "$title" "Yes" 10000 >/dev/null || fail "no Yes in the file job"
drive wait-text "$title" "Done" 60000 >/dev/null || fail "the file job did not report Done"
[[ -e $drive_t/victim.txt ]] && fail "the file is still there"
drive click "$title" "Exit" 10000 >/dev/null
app_wait_ended 20 || fail "the file job did not end"
echo "the registered command wiped a file"

# The program run once writes its own entries (Explorer's menus where it may, run at logon).
set_option OpMethod 3
app_start_in "$temp"
drive wait-window Nullora 60000 >/dev/null || fail "the installed program's main window did not open"
drive wait-text Nullora "Secure Delete Now !!" 10000 >/dev/null || fail "no main window"
drive click Nullora "Run at Windows Startup" 10000 >/dev/null || fail "no run-at-logon box"
sleep 1
drive close Nullora >/dev/null
app_wait_ended 20 || fail "the program did not end"
Present 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Nullora ||
  Present 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Nullora ||
  fail "the program wrote no run-at-logon value"

# An upgrade over it, in place, keeping the settings.
Install
[[ -f $installed/nullora.exe ]] || fail "the upgrade lost the program"
[[ $(Value "$settings_key" OpMethod) == 3 ]] || fail "the upgrade did not keep the settings"
echo "an install over the first one kept the setting"

Uninstalled() {
  local tenths=300
  while ((tenths-- > 0)); do
    [[ ! -e $installed/uninstall.exe && ! -e $installed/nullora.exe ]] && return 0
    sleep 0.1
  done
  return 1
}
Leftovers() {
  local found=()
  [[ -e $installed ]] && found+=("$installed")
  [[ -e $start_menu ]] && found+=("the Start-menu entry")
  for key in "$uninstall_key" 'HKCU\Software\Classes\*\shell\Nullora' 'HKCU\Software\Classes\Folder\shell\Nullora' \
    'HKCU\Software\Classes\CLSID\{645FF040-5081-101B-9F08-00AA002F954E}\shell\Wipe Recycle Bin' \
    'HKCR\*\shell\Nullora' 'HKCR\Folder\shell\Nullora' \
    'HKCR\CLSID\{645FF040-5081-101B-9F08-00AA002F954E}\shell\Wipe Recycle Bin'; do
    Present "$key" && found+=("$key")
  done
  for root in HKCU HKLM; do
    Present "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Run" /v Nullora && found+=("$root's Run value")
  done
  printf '%s\n' "${found[@]}"
}
Present 'HKCR\*\shell\Nullora' || fail "the program wrote no Explorer entry of its own to remove"
# The installed program runs: the uninstaller closes it first (silent: without asking).
app_start_in "$temp"
drive wait-window Nullora 60000 >/dev/null || fail "the installed program did not start again"
wine "$installed/uninstall.exe" /S
Uninstalled || fail "the uninstaller did not remove the program within 30 s"
app_wait_ended 20 || fail "the uninstaller left Nullora running"
sleep 1
left=$(Leftovers)
[[ -z $left ]] || fail "the uninstall left: $left"
[[ $(Value "$settings_key" OpMethod) == 3 ]] || fail "a silent uninstall removed the settings"
echo "the silent uninstall left no file and no entry; the settings stay"

Install
wine "$installed/uninstall.exe" /S /REMOVESETTINGS
Uninstalled || fail "the second uninstall did not finish within 30 s"
sleep 1
Present 'HKCU\Software\VB and VBA Program Settings\Nullora' && fail "/REMOVESETTINGS kept the settings"
left=$(Leftovers)
[[ -z $left ]] || fail "the second uninstall left: $left"
echo "a silent uninstall with /REMOVESETTINGS removed the settings too"

# For all users (Wine's user is an administrator): Program Files, the machine's uninstall entry and
# classes; its quiet uninstall string takes all of it away again.
machine_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nullora'
Install /ALLUSERS
location=$(Value "$machine_key" InstallLocation)
[[ $location == *'\Program Files'*'\Nullora' ]] || fail "an install for all users went to \"$location\""
machine_host=$(HostPath "$location")
[[ -f $machine_host/nullora.exe ]] || fail "no nullora.exe in $location"
[[ $(Value 'HKLM\Software\Classes\*\shell\Nullora\command' '') == "\"$location\\nullora.exe\" %1" ]] ||
  fail "the machine's Explorer entry is not the installed program"
Present "$uninstall_key" && fail "an install for all users wrote the user's uninstall entry"
quiet=$(Value "$machine_key" QuietUninstallString)
[[ $quiet == "\"$location\\uninstall.exe\" /ALLUSERS /S" ]] || fail "the quiet uninstall string is wrong: $quiet"
wine "$location\\uninstall.exe" /ALLUSERS /S
for _ in $(seq 300); do [[ -e $machine_host/nullora.exe ]] || break; sleep 0.1; done
sleep 1
[[ -e $machine_host ]] && fail "the uninstall for all users left $location"
Present "$machine_key" && fail "the machine's uninstall entry is still there"
Present 'HKLM\Software\Classes\*\shell\Nullora' && fail "the machine's Explorer entry is still there"
echo "an install for all users and its uninstall"

# The same through the setup's own pages: "All users" chosen, the folder shown, Install, Close.
setup_title='Nullora Setup'
(cd "$temp" && exec wine "$setup") >>"$temp/setup.log" 2>&1 &
setup_pid=$!
drive wait-window "$setup_title" 60000 >/dev/null || fail "the setup's window did not open"
drive click "$setup_title" "All users of this computer (needs administrator rights)" 10000 >/dev/null ||
  fail "the setup offers no install for all users"
drive click "$setup_title" "&Next >" 10000 >/dev/null || fail "no Next in the setup"
folder_title="$setup_title: Installation Folder"
drive wait-text "$folder_title" "$location" 10000 >/dev/null ||
  { drive dump "$folder_title"; fail "the folder page does not show Program Files"; }
sleep 1
screenshot test_win32_install_folder "$folder_title"
drive click "$folder_title" "&Install" 10000 >/dev/null || fail "no Install in the setup"
drive click "$setup_title: Completed" "&Close" 60000 >/dev/null || fail "the setup did not finish"
wait "$setup_pid"
[[ $(Value "$machine_key" InstallLocation) == "$location" && -f $machine_host/nullora.exe ]] ||
  fail "the setup's pages did not install for all users"
wine "$location\\uninstall.exe" /ALLUSERS /S
for _ in $(seq 300); do [[ -e $machine_host/nullora.exe ]] || break; sleep 0.1; done
sleep 1
[[ -e $machine_host ]] && fail "the second uninstall for all users left $location"
echo "the setup's pages installed for all users"

# /D= sets the folder (as the last argument, unquoted, as NSIS wants it).
Install '/D=C:\Tools\Nullora'
other=$(HostPath 'C:\Tools\Nullora')
[[ -f $other/nullora.exe && $(Value "$uninstall_key" InstallLocation) == 'C:\Tools\Nullora' ]] ||
  fail "/D= did not set the folder"
printf 'mine\n' >"$other/notes.txt"
wine "$other/uninstall.exe" /S
for _ in $(seq 300); do [[ -e $other/nullora.exe ]] || break; sleep 0.1; done
sleep 1
[[ -e $other/nullora.exe || -e $other/uninstall.exe ]] && fail "the uninstall left the program in the folder /D= named"
[[ $(cat "$other/notes.txt") == mine ]] || fail "the uninstall took a file of the user's from the folder"
echo "/D= set the folder; the uninstall left the user's own file in it"
echo "PASSED"
