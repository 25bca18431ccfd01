#!/usr/bin/env bash
# What scripts/setup.sh installs and leaves out, and which Wine nullora_wine_select and the real-window
# session choose, on machines made of stubs: apt-get, dpkg, dpkg-query, id and sudo that record their
# calls in a log, a 32-bit probe, and fake Wine loaders. The commands under test see a PATH of the
# stubs and a few plain tools only, so the real package manager is out of their reach.
#
#   test_native_setup_decisions.sh <build dir>     (the build directory is not used)
# shellcheck disable=SC2030,SC2031 # the stubbed PATH is meant to stay in its subshell
set -uo pipefail

repo=$(cd "$(dirname "$(readlink -f "$0")")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/nullora-setup-decisions.XXXXXX")
trap 'rm -rf "$work"' EXIT
bash=$(command -v bash)

failures=0
Check() {
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what"
    failures=$((failures + 1))
  fi
}
Has() { grep -q -- "$2" <<<"$1"; }
Lacks() { ! grep -q -- "$2" <<<"$1"; }
Count() { grep -c -- "$2" <<<"$1"; }

# shellcheck source=scripts/setup.sh
source "$repo/scripts/setup.sh"
everything=("${essential[@]}" "${optional[@]}")

# The plain tools the scripts under test use, and nothing else of the machine.
tools=$work/tools
mkdir -p "$tools"
for tool in bash sh env cat chmod dirname grep head ln mkdir mktemp od readlink rm sed tr; do
  ln -s "$(command -v "$tool")" "$tools/$tool"
done

stubs=$work/stubs
sudoDir=$work/sudo
mkdir -p "$stubs" "$sudoDir"
cat >"$stubs/apt-get" <<'STUB'
#!/bin/bash
s=$NULLORA_STUB_STATE
echo "apt-get $*" >>"$s/log"
case $1 in
  update)
    [[ -s $s/update-error ]] || exit 0
    cat "$s/update-error" >&2
    exit 100
    ;;
  install)
    shift
    packages=()
    for arg; do [[ $arg == -* ]] || packages+=("$arg"); done
    # Like apt: one package it cannot have, and none is installed.
    for package in "${packages[@]}"; do
      if grep -qxF "$package" "$s/broken" || { [[ $package == *:i386 ]] && ! grep -qx i386 "$s/arches"; }; then
        echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages." >&2
        exit 100
      fi
    done
    printf '%s\n' "${packages[@]}" >>"$s/installed"
    ;;
  *) exit 100 ;;
esac
STUB
cat >"$stubs/dpkg-query" <<'STUB'
#!/bin/bash
package=${!#}
grep -qxF "$package" "$NULLORA_STUB_STATE/installed" && printf installed && exit 0
echo "dpkg-query: no packages found matching $package" >&2
exit 1
STUB
cat >"$stubs/dpkg" <<'STUB'
#!/bin/bash
s=$NULLORA_STUB_STATE
echo "dpkg $*" >>"$s/log"
case $1 in
  --print-foreign-architectures) cat "$s/arches" ;;
  --add-architecture) echo "$2" >>"$s/arches" ;;
  --print-architecture) echo amd64 ;;
  *) exit 2 ;;
esac
STUB
cat >"$stubs/id" <<'STUB'
#!/bin/bash
[[ $1 == -u ]] && cat "$NULLORA_STUB_STATE/uid"
STUB
cat >"$stubs/probe32" <<'STUB'
#!/bin/bash
echo "probe32" >>"$NULLORA_STUB_STATE/log"
exit "$(cat "$NULLORA_STUB_STATE/probe-rc")"
STUB
cat >"$sudoDir/sudo" <<'STUB'
#!/bin/bash
echo "sudo $*" >>"$NULLORA_STUB_STATE/log"
exec "$@"
STUB
chmod +x "$stubs"/* "$sudoDir"/*

# A machine: NewMachine <name> <uid> <kernel runs 32-bit: yes|no> <foreign architectures> <installed...>
NewMachine() {
  machine=$work/$1
  mkdir -p "$machine/tmp"
  echo "$2" >"$machine/uid"
  if [[ $3 == yes ]]; then echo 42 >"$machine/probe-rc"; else echo 126 >"$machine/probe-rc"; fi
  printf '%s' "$4" >"$machine/arches"
  shift 4
  printf '%s\n' "$@" >"$machine/installed"
  : >"$machine/broken"
  : >"$machine/update-error"
  : >"$machine/log"
}
# Everything but the named packages.
AllBut() {
  local package skip
  for package in "${everything[@]}"; do
    for skip; do [[ $package == "$skip" ]] && continue 2; done
    echo "$package"
  done
}
# Runs setup.sh on $machine; with "sudo", sudo is on PATH. Sets out (its output), rc, log.
RunSetup() {
  local path=$stubs:$tools
  [[ ${1:-} == sudo ]] && path=$sudoDir:$path
  : >"$machine/log"
  out=$(PATH=$path NULLORA_STUB_STATE=$machine NULLORA_SETUP_ELF32_PROBE=$stubs/probe32 NULLORA_SETUP_NO_SQLITE=1 \
    NULLORA_SETUP_LEFT_OUT=$machine/left-out TMPDIR=$machine/tmp "$bash" "$repo/scripts/setup.sh" 2>&1)
  rc=$?
  log=$(cat "$machine/log")
}
IsInstalled() { grep -qxF "$1" "$machine/installed"; }
LeftOut() { [[ $(tr '\n' ' ' <"$machine/left-out") == "$1" ]]; }
NoTempLeft() { [[ -z $(ls -A "$machine/tmp") ]]; }

# The real machine's package tools are never within reach of the commands under test.
Check "the stubs shadow apt-get, dpkg and dpkg-query" \
  test "$(PATH=$stubs:$tools command -v apt-get dpkg dpkg-query | tr '\n' ' ')" == \
  "$stubs/apt-get $stubs/dpkg $stubs/dpkg-query "

# --- The i386 index fails, as on a mirror halfway through a sync: all else is installed -------------
mapfile -t others < <(AllBut cmake fp-utils)
NewMachine i386-index-fails 1000 yes "" "${others[@]}"
echo wine32:i386 >"$machine/broken"
cat >"$machine/update-error" <<'APT'
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
E: Some index files failed to download. They have been ignored, or old ones used instead.
APT
RunSetup sudo
Check "a failed index and a package apt cannot have are not fatal (exit $rc)" test "$rc" -eq 0
Check "the i386 architecture is added, through sudo" Has "$log" "sudo env DEBIAN_FRONTEND=noninteractive dpkg --add-architecture i386"
Check "the whole list is tried at once" Has "$log" "^apt-get install .* cmake fp-utils wine32:i386$"
Check "then package by package" Has "$log" "^apt-get install .* fp-utils$"
Check "every apt-get call goes through sudo" test "$(Count "$log" '^apt-get')" -eq "$(Count "$log" '^sudo .* apt-get')"
Check "cmake is installed in spite of wine32" IsInstalled cmake
Check "fp-utils is installed in spite of wine32" IsInstalled fp-utils
Check "wine32 is not installed" eval '! IsInstalled wine32:i386'
Check "one line says the update failed and which index" test "$(Count "$out" 'apt-get update failed.*binary-i386')" -eq 1
Check "one line says wine32 is left out and what runs instead" \
  test "$(Count "$out" 'left out wine32:i386 (the i386 package index could not be fetched.*64-bit Wine')" -eq 1
Check "no other line about wine32 but the install" test "$(grep -v 'installing' <<<"$out" | grep -c wine32)" -eq 1
Check "the left-out list names wine32 only" LeftOut "wine32:i386 "
Check "setup removes its temporary files" NoTempLeft

# --- An essential package apt cannot have: the others still come, and setup fails --------------------
mapfile -t others < <(AllBut cmake x11-apps)
NewMachine essential-broken 0 yes i386 "${others[@]}"
echo cmake >"$machine/broken"
RunSetup
Check "a missing essential package fails setup (exit $rc)" test "$rc" -eq 1
Check "as root, nothing goes through sudo" Lacks "$log" "^sudo"
Check "x11-apps is installed in spite of cmake" IsInstalled x11-apps
Check "wine32 is installed in spite of cmake" IsInstalled wine32:i386
Check "setup names cmake as missing" Has "$out" "missing cmake (Error, pkgProblemResolver"
Check "setup says the build cannot go on without it" Has "$out" "cannot go on without cmake"
Check "the left-out list names cmake" LeftOut "cmake "

# --- A kernel that runs no 32-bit program: wine32 is never asked for ------------------------------
mapfile -t others < <(AllBut fp-utils)
NewMachine no-ia32 0 no "" "${others[@]}"
RunSetup
Check "without wine32 the build goes on (exit $rc)" test "$rc" -eq 0
Check "the probe ran" Has "$log" "^probe32"
Check "the i386 architecture is not added" Lacks "$log" "add-architecture"
Check "wine32 is never asked of apt" Lacks "$log" "wine32"
Check "fp-utils is installed" IsInstalled fp-utils
Check "one line says why wine32 is left out and what runs instead" \
  test "$(Count "$out" 'left out wine32:i386 (this kernel cannot run 32-bit programs).*64-bit Wine')" -eq 1
RunSetup
Check "run again, setup asks apt for nothing" Lacks "$log" "apt-get"
Check "run again, it says only that wine32 is left out" test "$(grep -c . <<<"$out")" -eq 1
Check "run again, it succeeds (exit $rc)" test "$rc" -eq 0

# --- Not root and no sudo: setup says what to run as root ----------------------------------------
mapfile -t others < <(AllBut cmake)
NewMachine no-sudo 1000 yes "" "${others[@]}"
RunSetup
Check "a missing cmake it cannot install fails setup (exit $rc)" test "$rc" -eq 1
Check "apt and dpkg are left alone" Lacks "$log" "install\|add-architecture\|update"
Check "setup gives the commands to run as root" Has "$out" \
  "as root, run: dpkg --add-architecture i386 && apt-get update && apt-get install -y --no-install-recommends cmake wine32:i386$"
Check "the left-out list names cmake and wine32" LeftOut "cmake wine32:i386 "

# --- All present: nothing to do, nothing said ------------------------------------------------------
NewMachine ready 1000 yes i386 "${everything[@]}" wine32:i386
RunSetup sudo
Check "a ready machine passes (exit $rc)" test "$rc" -eq 0
Check "a ready machine prints nothing" test -z "$out"
Check "a ready machine calls neither apt, dpkg, sudo nor the probe" test -z "$log"
Check "a ready machine leaves nothing out" LeftOut ""
Check "a ready machine leaves no temporary files" NoTempLeft

# --- Which Wine: decided by starting a 32-bit loader, never by a `wine` that exists ----------------
# The probe's bytes with the exit status as the last but two: a 32-bit program that exits with it.
Elf32() {
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00%b\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb%b\x00\x00\x00\xcd\x80' \
    "$2" "$3" >"$1"
  chmod +x "$1"
}
wineLog=$work/wine.log
# 64-bit Wine, and a `wine` like Debian's that falls back to it: both answer --version.
FakeWine64() {
  # shellcheck disable=SC2016 # expanded when the fake runs
  printf '#!/bin/bash\necho "wine64 $* (WINELOADER=$WINELOADER)" >>%q\n' "$wineLog" >"$1"
  chmod +x "$1"
}
fallbackWine=$work/fallback-wine/wine
mkdir -p "${fallbackWine%/*}"
printf '#!/bin/bash\necho "fallback wine $*" >>%q\n' "$wineLog" >"$fallbackWine"
chmod +x "$fallbackWine"

# Runs nullora_wine_select with the loaders of $1, the fallback `wine` on PATH and the settings that
# follow; then `wine --version` through the chosen `wine`. Sets out, rc, wineCalls (what ran) and the
# first directory of PATH.
ChooseWine() {
  local loaders=$1 scratch=$work/scratch-$RANDOM
  shift
  : >"$wineLog"
  out=$(
    # Only what a case sets: the caller's own choice (NULLORA_WINE_BITS_WANTED=64 ./test.sh) is not one.
    unset NULLORA_WINE_BITS_WANTED
    export PATH=${fallbackWine%/*}:$stubs:$tools NULLORA_WINE_LOADER_DIR=$loaders
    for setting; do export "${setting?}"; done
    # shellcheck source=scripts/wine_env.sh
    source "$repo/scripts/wine_env.sh" --helpers
    nullora_wine_select "$scratch" 2>&1
    echo "rc=$? bits=$NULLORA_WINE_BITS first=${PATH%%:*} why=$NULLORA_WINE_WHY"
    echo "-- what wine runs:"
    wine --version
  )
  rc=$(sed -n 's/^rc=\([0-9]*\).*/\1/p' <<<"$out")
  wineCalls=$(cat "$wineLog")
  firstInPath=$(sed -n 's/.* first=\([^ ]*\) why=.*/\1/p' <<<"$out")
  expectedFirst=$scratch/bin
}

loaders=$work/loaders-64-only
mkdir -p "$loaders"
FakeWine64 "$loaders/wine64"
ChooseWine "$loaders"
Check "without wine32, 64-bit Wine is chosen" Has "$out" "rc=0 bits=64 "
Check "the 64-bit wrapper is first in PATH" test "$firstInPath" == "$expectedFirst"
Check "the reason names wine32:i386" Has "$out" "why=32-bit Wine is not installed (Debian package wine32:i386)"
Check "the fallback \`wine\` on PATH is never taken for 32-bit Wine" Lacks "$wineCalls" "fallback wine"
Check "\`wine\` then runs 64-bit Wine, which finds itself through WINELOADER" \
  Has "$wineCalls" "^wine64 --version (WINELOADER=$loaders/wine64)$"

loaders=$work/loaders-32-foreign
mkdir -p "$loaders"
FakeWine64 "$loaders/wine64"
# A 32-bit program for another machine (ARM): no kernel here starts it.
Elf32 "$loaders/wine" '\x28' '\x00'
ChooseWine "$loaders"
Check "a 32-bit loader that does not start gives 64-bit Wine" Has "$out" "rc=0 bits=64 "
Check "the reason says it does not start" Has "$out" "why=32-bit Wine ($loaders/wine) does not start"

ChooseWine "$work/no-loaders"
Check "with no Wine at all, the choice fails" test "$rc" -eq 1
Check "with no Wine at all, it says so" Has "$out" "no working Wine: 32-bit Wine is not installed.*64-bit Wine is not installed"

ChooseWine "$work/loaders-64-only" NULLORA_WINE_BITS_WANTED=yes
Check "a wrong NULLORA_WINE_BITS_WANTED is refused" test "$rc" -eq 1
Check "a wrong NULLORA_WINE_BITS_WANTED is named" Has "$out" "NULLORA_WINE_BITS_WANTED is 'yes'"

Elf32 "$work/elf32-probe" '\x03' '\x2a'
if "$work/elf32-probe" 2>/dev/null; [[ $? -eq 42 ]]; then
  loaders=$work/loaders-both
  mkdir -p "$loaders"
  FakeWine64 "$loaders/wine64"
  Elf32 "$loaders/wine" '\x03' '\x00'
  ChooseWine "$loaders"
  Check "a 32-bit loader that starts gives 32-bit Wine" Has "$out" "rc=0 bits=32 "
  Check "the 32-bit wrapper is first in PATH" test "$firstInPath" == "$expectedFirst"
  Check "\`wine\` then runs the 32-bit loader" Lacks "$wineCalls" "wine64\|fallback"
  ChooseWine "$loaders" NULLORA_WINE_BITS_WANTED=64
  Check "NULLORA_WINE_BITS_WANTED=64 gives 64-bit Wine where 32-bit works" Has "$out" "rc=0 bits=64 "
  Check "and says why" Has "$out" "why=NULLORA_WINE_BITS_WANTED=64"
else
  echo "note: this kernel runs no 32-bit program; the choice of a working 32-bit Wine is not checked"
fi

# --- The real-window session: a 32-bit nullora.exe without 32-bit Wine is a skip that says why ----
build=$work/build32
mkdir -p "$build"
# A PE header at 64: machine 014c (i386).
{
  printf 'MZ'
  head -c 58 /dev/zero
  printf '\x40\x00\x00\x00PE\x00\x00\x4c\x01'
} >"$build/nullora.exe"
cp "$build/nullora.exe" "$build/ui_driver.exe"
printf '#!/bin/bash\necho "X $*" >>%q\n' "$wineLog" >"$stubs/Xvfb"
cp "$stubs/Xvfb" "$stubs/xwd"
chmod +x "$stubs/Xvfb" "$stubs/xwd"
: >"$wineLog"
out=$(
  unset NULLORA_WINE_BITS_WANTED
  export PATH=${fallbackWine%/*}:$stubs:$tools NULLORA_WINE_LOADER_DIR=$work/loaders-64-only TMPDIR=$work
  # shellcheck source=tests/scripts/real_window_session.sh
  source "$repo/tests/scripts/real_window_session.sh"
  session_start "$build"
  echo "session started"
)
rc=$?
Check "the session skips (exit $rc, 77 expected)" test "$rc" -eq 77
Check "the skip says the 32-bit program needs 32-bit Wine, and why there is none" \
  Has "$out" "SKIPPED: the 32-bit .*nullora.exe needs 32-bit Wine: 32-bit Wine is not installed"
Check "no display was started for it" Lacks "$(cat "$wineLog")" "^X "
Check "no Wine ran for it but to say its version" test -z "$(grep -v -- '--version' "$wineLog")"
Check "the session removes its temporary directory" test -z "$(ls -d "$work"/nullora-job-window.* 2>/dev/null)"

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all setup and Wine decisions as expected"
