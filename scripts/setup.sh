#!/usr/bin/env bash
# Installs what building and testing Nullora needs on Debian 12, and nothing that is already there.
# Safe to run any number of times; silent when the machine is ready.
#
# It installs what it can: a package that cannot be had today (a mirror halfway through a sync of its
# i386 index, say) never keeps the others out. At the end it says what it left out, and it fails only
# when the build cannot go on without that (compilers, cmake, GoogleTest, 64-bit Wine, Xvfb). Without
# the others the build goes on and the tests that need them fail or are skipped, saying why.
#
# 32-bit Wine (wine32:i386) is wanted only where the kernel runs 32-bit programs. Where it cannot be
# had, the x86_64 build of the same code is tested under 64-bit Wine instead.
#
#   NULLORA_SETUP_LEFT_OUT=<file>      the packages left out are written there, one a line
#   NULLORA_SETUP_ELF32_PROBE=<path>   a program run instead of the 32-bit probe (passes by exiting 42)

# The build cannot do without these.
essential=(cmake g++ make mingw-w64 googletest wine wine64 xvfb coreutils libsqlite3-dev nlohmann-json3-dev)
# Without these, tests are skipped (window screenshots, loop-device drives) or the help file is not
# built, or (tcl) the Windows builds have no SQLite, or (sqlite3) no browser profile is made for the
# Wine test, or (nsis) no setup program is made; the rest goes on.
optional=(x11-apps x11-utils imagemagick e2fsprogs fp-utils tcl sqlite3 nsis)
wine32=wine32:i386

Say() { echo "setup: $*" >&2; }

Installed() {
  [[ $(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) == installed ]]
}

IsEssential() {
  local package
  for package in "${essential[@]}"; do [[ $package == "$1" ]] && return 0; done
  return 1
}

# The first error line apt left in a log, shortened to fit a line.
AptError() {
  local line
  line=$(grep -m1 -E '^(E|W): ' "$1" |
    sed -E 's/^[EW]: //; s#https?://[^ ]*/dists/#.../dists/#; s/ ?\[IP: [^]]*\]//; s/[[:space:]]+/ /g')
  [[ -n $line ]] || line=$(grep -m1 -v '^[[:space:]]*$' "$1")
  [[ ${#line} -le 160 ]] || line="${line:0:157}..."
  echo "${line:-no message}"
}

# Whether this kernel runs 32-bit x86 programs (ia32 emulation can be compiled out or switched off):
# a 96-byte ELF that does nothing but exit with 42. Where the temporary directory forbids running
# programs at all, the verdict comes from another directory.
KernelRuns32Bit() {
  if [[ -n ${NULLORA_SETUP_ELF32_PROBE:-} ]]; then
    "$NULLORA_SETUP_ELF32_PROBE" >/dev/null 2>&1
    [[ $? -eq 42 ]]
    return
  fi
  local dir probeDir elfRc scriptRc
  for dir in "$work" "$repo/build"; do
    if ! probeDir=$(mkdir -p "$dir" && mktemp -d "$dir/elf32-probe.XXXXXX") 2>/dev/null; then continue; fi
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' \
      >"$probeDir/elf32"
    printf '#!/bin/sh\nexit 42\n' >"$probeDir/script"
    chmod +x "$probeDir/elf32" "$probeDir/script"
    "$probeDir/elf32" >/dev/null 2>&1
    elfRc=$?
    "$probeDir/script" >/dev/null 2>&1
    scriptRc=$?
    rm -rf "$probeDir"
    [[ $elfRc -eq 42 ]] && return 0
    # Programs run in this directory; the 32-bit one did not.
    [[ $scriptRc -eq 42 ]] && return 1
  done
  return 1
}

# Runs a command as root: directly, or through sudo.
AsRoot() { "${asRoot[@]}" env DEBIAN_FRONTEND=noninteractive "$@"; }

# Installs the packages all at once, and when apt refuses that (one package it cannot have makes it
# install none), one by one. The error of each package that fails lands in whyFailed.
InstallPackages() {
  local log=$work/install.log package
  if AsRoot apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then return 0; fi
  if [[ $# -eq 1 ]]; then
    whyFailed[$1]=$(AptError "$log")
    return 1
  fi
  for package in "$@"; do
    AsRoot apt-get install -y -qq --no-install-recommends "$package" >"$log" 2>&1 ||
      whyFailed[$package]=$(AptError "$log")
  done
}

# Says what is left out and why, writes the list for the caller, and gives the exit status: 1 when an
# essential package is missing.
# SQLite's single-file source for the Windows builds, from Debian's source package (see fetch_sqlite.sh).
FetchSqlite() {
  [[ -z ${NULLORA_SETUP_NO_SQLITE:-} ]] || return 0
  local why
  if ! why=$("$repo/scripts/fetch_sqlite.sh" 2>&1); then
    sqliteWhy=${why#sqlite source: }
    sqliteWhy=${sqliteWhy:-no message}
  elif [[ -n $why ]]; then
    Say "$why"
  fi
}

Report() {
  local package essentialMissing=() status=0
  local -a leftOut=()
  FetchSqlite
  [[ -n $sqliteWhy ]] && leftOut+=("sqlite3-source")
  for package in "${essential[@]}" "${optional[@]}"; do
    Installed "$package" || leftOut+=("$package")
  done
  [[ -n $why32 ]] && leftOut+=("$wine32")
  for package in "${leftOut[@]}"; do
    if [[ $package == "$wine32" ]]; then
      Say "left out $wine32 ($why32); the x86_64 build of the same code is tested under 64-bit Wine instead"
    elif [[ $package == sqlite3-source ]]; then
      Say "left out SQLite's source ($sqliteWhy); the Windows builds leave the browsers' databases alone"
    elif IsEssential "$package"; then
      essentialMissing+=("$package")
      Say "missing $package (${whyFailed[$package]:-not installed})"
    else
      Say "left out $package (${whyFailed[$package]:-not installed}); the build goes on without it"
    fi
  done
  if [[ ${#essentialMissing[@]} -gt 0 ]]; then
    Say "the build cannot go on without ${essentialMissing[*]}"
    status=1
  fi
  if [[ -n ${NULLORA_SETUP_LEFT_OUT:-} ]]; then
    if [[ ${#leftOut[@]} -gt 0 ]]; then printf '%s\n' "${leftOut[@]}"; fi >"$NULLORA_SETUP_LEFT_OUT"
  fi
  return "$status"
}

main() {
  set -uo pipefail
  export DEBIAN_FRONTEND=noninteractive
  repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
  # Why wine32:i386 is not installed at the end, when it is not.
  why32=""
  sqliteWhy=""
  declare -gA whyFailed=()

  if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
    Say "this is not a Debian system (no dpkg-query or apt-get); install by hand: ${essential[*]} ${optional[*]}"
    return 1
  fi

  local missing=() package
  for package in "${essential[@]}" "${optional[@]}"; do
    Installed "$package" || missing+=("$package")
  done
  # Apt's logs and the probe; nothing is made when the machine is ready.
  work=""
  trap '[[ -z $work ]] || rm -rf "$work"' EXIT
  local want32=0
  if ! Installed "$wine32"; then
    work=$(mktemp -d "${TMPDIR:-/tmp}/nullora-setup.XXXXXX") || return 1
    if KernelRuns32Bit; then
      want32=1
      missing+=("$wine32")
    else
      why32="this kernel cannot run 32-bit programs"
    fi
  fi
  if [[ ${#missing[@]} -eq 0 ]]; then
    Report
    return
  fi
  if [[ -z $work ]]; then work=$(mktemp -d "${TMPDIR:-/tmp}/nullora-setup.XXXXXX") || return 1; fi

  local addI386=0
  if [[ $want32 -eq 1 ]] && ! dpkg --print-foreign-architectures 2>/dev/null | grep -qx i386; then
    addI386=1
  fi

  asRoot=()
  if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null; then
      asRoot=(sudo)
    else
      local commands="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
      [[ $addI386 -eq 1 ]] && commands="dpkg --add-architecture i386 && $commands"
      Say "not root and no sudo; as root, run: $commands"
      [[ $want32 -eq 1 ]] && why32="not root and no sudo to install it"
      Report
      return
    fi
  fi

  if [[ $addI386 -eq 1 ]]; then
    Say "adding the i386 architecture (32-bit Wine needs it)"
    if ! AsRoot dpkg --add-architecture i386 >"$work/arch.log" 2>&1; then
      why32="dpkg --add-architecture i386 failed: $(AptError "$work/arch.log")"
      want32=0
    fi
  fi
  local toInstall=()
  for package in "${missing[@]}"; do
    [[ $package == "$wine32" && $want32 -eq 0 ]] || toInstall+=("$package")
  done
  if [[ ${#toInstall[@]} -eq 0 ]]; then
    Report
    return
  fi

  Say "installing ${toInstall[*]}"
  # A failed index is not the end: the others, and the old copy of the failed one, still serve.
  local i386IndexFailed=0
  if ! AsRoot apt-get update -qq >"$work/update.log" 2>&1; then
    Say "apt-get update failed ($(AptError "$work/update.log")); going on with the index there is"
    grep -q 'binary-i386' "$work/update.log" && i386IndexFailed=1
  fi
  InstallPackages "${toInstall[@]}"

  if [[ $want32 -eq 1 ]] && ! Installed "$wine32"; then
    if [[ $i386IndexFailed -eq 1 ]]; then
      why32="the i386 package index could not be fetched, so apt cannot install it"
    else
      why32="apt could not install it: ${whyFailed[$wine32]:-no message}"
    fi
  fi
  Report
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  main "$@"
fi
