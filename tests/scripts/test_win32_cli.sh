#!/bin/bash
# The console program nullora-cli.exe under Wine, on prepared files: what each command prints, its exit
# code, and that nothing outside the target changes: a relative path wiped and printed full, a folder
# refused without --recursive and wiped with it, links given as paths (the files and folders they point
# to stay whole), devices and drives refused, missing paths, a file another program holds, bad usage,
# the item list, a preview of the temporary files that changes nothing and then their clean, the Recycle
# Bin, and a drive's free space on a small private tmpfs where there is one.
#
# Usage: test_win32_cli.sh <build dir>   (exit 77: this machine cannot run it)
set -u
# shellcheck source-path=SCRIPTDIR source=real_window_session.sh
source "$(dirname "$0")/real_window_session.sh"
session_start "${1:-}"
cli_exe="$build/nullora-cli.exe"
[[ -f $cli_exe ]] || fail "$cli_exe was not built"

# cli <dir> <argument>...: runs it in the host directory <dir>; sets $rc, $out and $err.
cli() {
  local dir=$1
  shift
  (cd "$dir" && exec wine "$cli_exe" "$@") >"$temp/out" 2>"$temp/err" </dev/null
  rc=$?
  out=$(tr -d '\r' <"$temp/out")
  err=$(tr -d '\r' <"$temp/err")
}
expect_rc() { [[ $rc == "$1" ]] || fail "$2: exit code $rc, not $1"$'\n'"stdout: $out"$'\n'"stderr: $err"; }
expect_out() { grep -qF -- "$1" <<<"$out" || fail "$2: no line with \"$1\" in:"$'\n'"$out"; }

outside="$temp/outside"
mkdir -p "$outside/tree"
printf 'secret\n' >"$outside/secret.txt"
printf 'precious\n' >"$outside/tree/keep.txt"
Fingerprint() { (cd "$outside" && find . -print0 | sort -z | xargs -0 stat -c '%n %s %Y' && find . -type f -exec sha256sum {} +); }
before=$(Fingerprint)
CheckOutside() { [[ $(Fingerprint) == "$before" ]] || fail "$1 changed files outside the target"; }
set_option OpMethod 0

# The version and the help; bad usage on stderr, in one line, with nothing done.
cli "$temp" --version
expect_rc 0 "--version"
[[ $out =~ ^nullora-cli\ [0-9]+\.[0-9]+\.[0-9]+ ]] || fail "--version printed: $out"
cli "$temp" --help
expect_rc 0 "--help"
for word in wipe free-space recycle-bin clean list --scheme --passes --rename --verify --recursive --quiet \
  --preview 'Exit codes'; do
  expect_out "$word" "--help"
done
printf 'untouched\n' >"$drive_t/usage.txt"
for bad in "wipe --passes 0 T:\\usage.txt" "wipe --bogus T:\\usage.txt" "shred T:\\usage.txt" "wipe" \
  "wipe --scheme gutmann --passes 3 T:\\usage.txt"; do
  # shellcheck disable=SC2086
  cli "$temp" $bad
  expect_rc 2 "$bad"
  [[ -z $out && $(wc -l <<<"$err") == 1 && $err == *"see nullora-cli --help"* ]] || fail "$bad printed: $out / $err"
done
[[ -f $drive_t/usage.txt ]] || fail "bad usage touched a file"
echo "--version, --help and bad usage (2) as expected"

# A relative path is wiped and printed full.
mkdir -p "$drive_t/work"
printf 'relative\n' >"$drive_t/work/rel.txt"
cli "$drive_t/work" wipe rel.txt
expect_rc 0 "wipe rel.txt"
[[ $out =~ ^[A-Z]:\\(.*\\)?work\\rel\.txt$'\t'Done$ ]] || fail "wipe rel.txt printed: $out"
[[ -e $drive_t/work/rel.txt ]] && fail "rel.txt is still there"
echo "rel.txt: $out"
# A name outside any code page reaches a pipe as UTF-8; renamed and read back, nothing of it stays.
printf 'named\n' >"$drive_t/work/naïve €ω.txt"
cli "$drive_t/work" wipe --rename --verify 'T:\work\naïve €ω.txt'
expect_rc 0 "wipe --rename --verify"
[[ $out == $'T:\\work\\naïve €ω.txt\tDone' ]] || fail "wipe --rename --verify printed: $out"
[[ -z $(ls -A "$drive_t/work") ]] || fail "the renamed file is left: $(ls -A "$drive_t/work")"

# A folder: refused without --recursive, wiped with it, a line per file.
mkdir -p "$drive_t/tree/sub"
printf 'one\n' >"$drive_t/tree/a.txt"
printf 'two\n' >"$drive_t/tree/sub/b.txt"
cli "$temp" wipe 'T:\tree'
expect_rc 3 "wipe of a folder without --recursive"
expect_out $'T:\\tree\tNot wiped: it is a folder' "wipe of a folder without --recursive"
[[ -f $drive_t/tree/sub/b.txt ]] || fail "the folder was touched without --recursive"
cli "$temp" wipe --recursive --scheme dod --passes 1 'T:\tree'
expect_rc 0 "wipe --recursive"
expect_out $'T:\\tree\\sub\\b.txt\tDone' "wipe --recursive"
expect_out $'T:\\tree\tDone' "wipe --recursive"
[[ -e $drive_t/tree ]] && fail "T:\\tree is still there"
echo "T:\\tree: refused (3) without --recursive, wiped with it"

# Links given as paths: what they point to stays whole. Wine can remove neither such link without
# reaching its target: then the link stays too, and the line and the exit code say so.
ln -s "$outside/secret.txt" "$drive_t/filelink.txt"
ln -s "$outside/tree" "$drive_t/dirlink"
for link in filelink.txt dirlink; do
  cli "$temp" wipe --recursive "T:\\$link"
  if [[ -L $drive_t/$link ]]; then
    expect_rc 1 "wipe of the link $link, left"
    expect_out "it is a link; what it points to was left alone" "wipe of the link $link"
  else
    expect_rc 0 "wipe of the link $link, removed"
    expect_out "Link removed" "wipe of the link $link"
  fi
  CheckOutside "wipe of the link $link"
  echo "T:\\$link: $out (exit $rc)"
done

# Devices and drives are refused; missing paths are nothing done, and with a done one something left.
for device in NUL 'T:\x\COM1' '\\.\C:' CON; do
  cli "$temp" wipe "$device"
  expect_rc 3 "wipe $device"
  expect_out "names a device or a volume" "wipe $device"
done
for root in 'T:' 'T:\' 'T:\work\..'; do
  cli "$temp" wipe --recursive "$root"
  expect_rc 3 "wipe $root"
  expect_out $'T:\\\tNot wiped: it is a drive' "wipe $root"
done
[[ -d $drive_t/work ]] || fail "a refused drive lost its folder"
printf 'star\n' >"$drive_t/work/star.txt"
cli "$temp" wipe 'T:\work\*.txt' 'T:\work\st?r.txt'
expect_rc 3 "wipe of wildcards"
expect_out "wildcards are not expanded" "wipe of wildcards"
[[ -f $drive_t/work/star.txt ]] || fail "a wildcard reached star.txt"
cli "$temp" wipe '\\?\T:\work\star.txt'
expect_rc 0 "wipe of a \\?\ path"
[[ -e $drive_t/work/star.txt ]] && fail "the \\?\ path was not wiped"
cli "$temp" wipe 'T:\missing.txt' 'T:\missing2.txt'
expect_rc 3 "wipe of missing paths"
expect_out $'T:\\missing.txt\tNot wiped: nothing was found there' "wipe of a missing path"
printf 'here\n' >"$drive_t/here.txt"
cli "$temp" wipe --quiet 'T:\here.txt' 'T:\missing.txt'
expect_rc 1 "wipe of one file and one missing path"
[[ $out == $'T:\\missing.txt\tNot wiped: nothing was found there' ]] || fail "--quiet printed: $out"
[[ -e $drive_t/here.txt ]] && fail "here.txt is still there"
echo "devices, drives and wildcards refused (3), missing (3), done and missing (1)"

# A file another program writes to is left, and said to be in use.
printf 'held\n' >"$drive_t/held.txt"
mkfifo "$temp/hold"
exec {hold}<>"$temp/hold"
wine cmd /c 'set /p unused= >>T:\held.txt' <&"$hold" >/dev/null 2>&1 &
holder=$!
# Open once some process (the program, or the wineserver for it) has it among its descriptors.
HeldOpen() { find /proc/[0-9]*/fd -lname "$drive_t/held.txt" 2>/dev/null | grep -q .; }
for _ in $(seq 100); do
  HeldOpen && break
  sleep 0.1
done
HeldOpen || fail "the program that holds T:\\held.txt did not open it"
cli "$temp" wipe 'T:\held.txt'
echo x >&"$hold"
exec {hold}>&-
wait "$holder"
expect_rc 1 "wipe of a file held open"
expect_out $'T:\\held.txt\tNot wiped: the file is in use' "wipe of a file held open"
grep -q held "$drive_t/held.txt" || fail "the held file lost its bytes"
echo "a file held open: left (1)"

# The item ids.
cli "$temp" list
expect_rc 0 "list"
expect_out $'windows.temp\tTemporary Files' "list"
expect_out $'chrome.history\tGoogle Chrome: History' "list"
expect_out $'windows.clipboard\tWindows 10 and 11: Clipboard' "list"
[[ $(head -1 <<<"$out") == $'windows.recycle_bin\tRecycle Bin' ]] || fail "list does not begin with the bin"
[[ $(wc -l <<<"$out") == 45 ]] || fail "list printed $(wc -l <<<"$out") ids, not 45"

# The temporary files: a preview changes nothing, the clean removes them; a file outside stays.
HostPath() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
tmp_dir=$(HostPath "$(wine cmd /c echo '%TEMP%' 2>/dev/null | tr -d '\r')")
[[ -d $tmp_dir ]] || fail "the prefix has no temporary folder ($tmp_dir)"
mkdir -p "$tmp_dir/cli-sub"
printf 'trace one\n' >"$tmp_dir/cli-a.tmp"
printf 'trace two\n' >"$tmp_dir/cli-sub/cli-b.tmp"
TempState() { find "$tmp_dir" -name 'cli-*' -printf '%p %s %T@\n' | sort; sha256sum "$tmp_dir/cli-a.tmp"; }
state=$(TempState)
cli "$temp" clean --preview windows.temp
expect_rc 0 "clean --preview windows.temp"
expect_out "Temporary Files: " "clean --preview"
expect_out "In all, the clean would remove" "clean --preview"
[[ $(TempState) == "$state" ]] || fail "the preview changed the temporary files"
cli "$temp" clean windows.temp
[[ $rc == 0 || $rc == 1 ]] || fail "clean windows.temp: exit code $rc"
expect_out "Temporary Files: " "clean windows.temp"
[[ -e $tmp_dir/cli-a.tmp || -e $tmp_dir/cli-sub/cli-b.tmp ]] && fail "the temporary files are still there"
CheckOutside "clean windows.temp"
options='HKCU\Software\VB and VBA Program Settings\Nullora\Options'
wine reg query "$options" /v OpMethod >/dev/null 2>&1 || fail "reg query does not see the options"
wine reg query "$options" /v OpCleanKey3 >/dev/null 2>&1 && fail "clean windows.temp saved its choice in the settings"
echo "clean --preview windows.temp changed nothing; clean windows.temp: $(head -1 <<<"$out") (exit $rc)"

# The Recycle Bin.
printf 'deleted\n' >"$drive_t/binned.txt"
drive recycle 'T:\binned.txt' >/dev/null || fail "the shell did not move T:\\binned.txt to the bin"
cli "$temp" recycle-bin
expect_rc 0 "recycle-bin"
expect_out $'Recycle Bin\tDone' "recycle-bin"
[[ -n $(find "$XDG_DATA_HOME/Trash/files" -name 'binned.txt*' 2>/dev/null) ]] && fail "the bin's item is still there"
echo "recycle-bin: wiped and emptied"

# Free space on a drive of 2 MiB; a folder is no drive.
cli "$temp" free-space 'T:\work'
expect_rc 3 "free-space of a folder"
if [[ $(id -u) -eq 0 ]] && mkdir -p "$temp/drive-s" &&
  mount -t tmpfs -o size=2m,mode=0755 nullora-cli-free "$temp/drive-s" 2>/dev/null; then
  session_on_cleanup "umount '$temp/drive-s' 2>/dev/null || umount -l '$temp/drive-s'"
  ln -s "$temp/drive-s" "$WINEPREFIX/dosdevices/s:"
  cli "$temp" free-space --passes 1 S:
  expect_rc 0 "free-space S:"
  expect_out 'S:\' "free-space S:"
  [[ -e $temp/drive-s/WNXTEMP.000 ]] && fail "the fill file was left behind"
  echo "free-space S:: $out"
else
  echo "no private tmpfs here (needs root): free-space is not run"
fi
CheckOutside "the whole run"
echo "PASSED"
