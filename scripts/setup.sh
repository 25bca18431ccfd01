#!/usr/bin/env bash
# Installs what building and testing Nullora needs on Debian 12, and nothing that is already there.
# Safe to run any number of times; silent when the machine is ready.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive

packages=(cmake g++ make mingw-w64 googletest wine wine32:i386 xvfb x11-apps imagemagick e2fsprogs coreutils)

Installed() {
  [[ $(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) == installed ]]
}

needI386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then needI386=1; fi

missing=()
for package in "${packages[@]}"; do
  Installed "$package" || missing+=("$package")
done

if [[ $needI386 -eq 0 && ${#missing[@]} -eq 0 ]]; then exit 0; fi

asRoot=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null; then
    asRoot=(sudo)
  else
    echo "setup: not root and no sudo; as root, install: ${missing[*]}" >&2
    [[ $needI386 -eq 1 ]] && echo "setup: and first run: dpkg --add-architecture i386" >&2
    exit 1
  fi
fi

if [[ $needI386 -eq 1 ]]; then
  echo "setup: adding the i386 architecture (32-bit Wine needs it)"
  "${asRoot[@]}" dpkg --add-architecture i386
  # Packages of the new architecture were unknown until now.
  missing=()
  for package in "${packages[@]}"; do
    Installed "$package" || missing+=("$package")
  done
fi

echo "setup: installing ${missing[*]}"
"${asRoot[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${asRoot[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
