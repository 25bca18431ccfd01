#!/bin/bash
# The main window in a real window under Wine: `nullora.exe` without an argument opens "Nullora" with its
# controls and a tip from TIPOFDAY.TXT, registers Explorer's menus (the program quoted), opens the
# options dialog, which saves the scheme chosen in it (read back from the registry) and brings the main
# window back; the tray icon's menu restores a hidden window, its "Nullora" item presses no button, and
# its "Exit" ends the program. Screenshots of both windows are taken at 96 and at 144 DPI.
#
# Usage: test_win32_main_window.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"

title='Nullora'
options='HKCU\Software\VB and VBA Program Settings\Nullora\Options'
Setting() { wine reg query "$options" /v "$1" 2>/dev/null | tr -d '\r' | sed -nE "s/^ +$1 +REG_SZ +//p"; }
[[ -f $build/TIPOFDAY.TXT ]] || fail "TIPOFDAY.TXT is not beside the program"
[[ -f $build/help.chm ]] || echo "help.chm was not built here (no chmcmd): its button opens nothing"

app_start
drive wait-window "$title" 60000 || fail "the main window did not open"
drive wait-text "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\""
window=$(drive dump "$title" | tr -d '\r')
for text in '&Apply Settings' '&Deletion Scheme Options' 'Run at Windows Startup' 'Do not schedule - Manual' \
  'Automatic - After Closing Browser' 'Scheduling' 'Nullora Tips:' 'Did you know...'; do
  grep -qF "\"$text\"" <<<"$window" || fail "the main window lacks \"$text\""
done
tip=$(grep -A1 -F '"Did you know..."' <<<"$window" | tail -1 | sed -E 's/^ *Static "(.*)"$/\1/')
grep -qxF "$tip" <(tr -d '\r' <"$build/TIPOFDAY.TXT") || fail "the tip shown is not a line of TIPOFDAY.TXT: $tip"
echo "the main window is up, with the tip: $tip"
screenshot test_win32_main_window_96dpi

command=$(wine reg query 'HKCR\*\shell\Nullora\command' /ve 2>/dev/null | tr -d '\r' | grep -i 'REG_SZ')
[[ $command == *'"'*'nullora.exe" %1' ]] || fail "Explorer's file entry is not the quoted program: $command"
echo "Explorer's entry: ${command##*REG_SZ}"

# The options dialog: "Custom" with an empty passes box saves one pass; the main window comes back.
drive click "$title" "&Deletion Scheme Options" 10000 >/dev/null || fail "no options button"
drive wait-text "$title" "Delete Scheme:" 30000 >/dev/null || fail "the options dialog did not open"
screenshot test_win32_options_96dpi
drive select "$title" "Custom" >/dev/null || fail "the scheme list has no \"Custom\""
drive wait-text "$title" "" 5000 >/dev/null
drive click "$title" "OK" 10000 >/dev/null || fail "no OK in the options"
drive wait-text "$title" "Secure Delete Now !!" 30000 >/dev/null || fail "OK did not bring the main window back"
[[ $(Setting OpMethod) == 3 && $(Setting OpPasses) == 1 ]] ||
  fail "the options saved OpMethod=$(Setting OpMethod) OpPasses=$(Setting OpPasses), not 3 and 1"
echo "the options dialog saved Custom with one pass"

# The tray: "Nullora" in its menu presses nothing (Apply would write the schedule), Restore shows the
# window hidden by a schedule, Exit ends the program.
drive tray right >/dev/null && drive menu-key n 10000 >/dev/null || fail "the tray menu did not open"
drive wait-gone "#32768" 2000 >/dev/null
sleep 1
[[ -z $(Setting "AutoClean Mode") ]] || fail "a menu item pressed \"Apply Settings\""
kill -0 "$app_pid" 2>/dev/null || fail "the \"Nullora\" menu item ended the program"
echo "the tray menu's \"Nullora\" item pressed no button"
# A schedule applied: the notice comes, the window goes to the tray, and Restore brings it back.
drive click "$title" "Automatic - At system Shutdown" 10000 >/dev/null || fail "no shutdown schedule button"
drive click "$title" "&Apply Settings" 10000 >/dev/null || fail "no Apply Settings"
drive wait-window "Nullora Running on Automatic..." 10000 >/dev/null || fail "no notice about the tray"
drive wait-gone "$title" 10000 >/dev/null || fail "the main window did not go to the tray"
[[ $(Setting "AutoClean Mode") == 1 ]] || fail "Apply did not save the shutdown schedule"
drive tray right >/dev/null && drive menu-key r 10000 >/dev/null || fail "the tray menu did not open"
drive wait-window "$title" 10000 >/dev/null || fail "Restore did not bring the main window back"
echo "Apply with a schedule hid the window in the tray; Restore brought it back"
drive tray right >/dev/null && drive menu-key x 10000 >/dev/null || fail "the tray menu did not open for Exit"
app_wait_ended 20 || fail "nullora.exe still runs 20 s after Exit in the tray menu"
echo "Exit in the tray menu ended the program"

# The same windows at 144 DPI.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
app_start
drive wait-window "$title" 60000 >/dev/null || fail "the main window did not open at 144 DPI"
drive wait-text "$title" "Secure Delete Now !!" 10000 >/dev/null || fail "no \"Secure Delete Now !!\" at 144 DPI"
sleep 1
screenshot test_win32_main_window_144dpi
drive click "$title" "&Deletion Scheme Options" 10000 >/dev/null
drive wait-text "$title" "Delete Scheme:" 30000 >/dev/null || fail "the options dialog did not open at 144 DPI"
sleep 1
screenshot test_win32_options_144dpi
drive click "$title" "&Cancel" 10000 >/dev/null
drive wait-text "$title" "Secure Delete Now !!" 30000 >/dev/null || fail "Cancel did not bring the main window back"
drive tray right >/dev/null && drive menu-key x 10000 >/dev/null
app_wait_ended 20 || fail "nullora.exe still runs 20 s after Exit"
echo "PASSED"
