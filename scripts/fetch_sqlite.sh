#!/usr/bin/env bash
# Makes SQLite's single-file source (sqlite3.c, sqlite3.h) for the Windows builds, which compile it into
# nullora.exe, from the sqlite3 source package of Debian's current stable release. apt fetches it with a
# sources list and state folder of its own below the destination: the system's apt configuration is not
# touched. The tarball is checked against the checksum its .dsc names before anything is built from it.
#
#   scripts/fetch_sqlite.sh [destination]    default: build/sqlite
#
# Silent and quick when the destination already holds this version. Exits 1, saying why, when the
# source cannot be had; the Windows builds are then made without the browsers' database items.
set -uo pipefail

repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
dest=${1:-$repo/build/sqlite}
suite=${NULLORA_SQLITE_SUITE:-trixie}
mirror=${NULLORA_SQLITE_MIRROR:-http://deb.debian.org/debian}

Say() { echo "sqlite source: $*" >&2; }

if [[ -f $dest/sqlite3.c && -f $dest/sqlite3.h && -f $dest/SOURCE ]] && grep -qx "suite $suite" "$dest/SOURCE"; then
  exit 0
fi
for tool in apt-get tar sha256sum make cc tclsh; do
  command -v "$tool" >/dev/null || { Say "no $tool here (tclsh: Debian package tcl), so no SQLite is built"; exit 1; }
done

work="$dest.work"
rm -rf "$work"
mkdir -p "$work/lists/partial" "$work/download" || exit 1
trap 'rm -rf "$work"' EXIT
printf 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s %s main\n' "$mirror" "$suite" \
  >"$work/sources.list"
apt=(apt-get -q -o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/lists" -o Debug::NoLocking=1)
if ! "${apt[@]}" update >"$work/update.log" 2>&1; then
  Say "apt could not read the $suite source index: $(grep -m1 -E '^(E|W):' "$work/update.log")"
  exit 1
fi
if ! (cd "$work/download" && "${apt[@]}" source --download-only sqlite3 >"$work/source.log" 2>&1); then
  Say "apt could not fetch the sqlite3 source: $(grep -m1 -E '^(E|W):' "$work/source.log")"
  exit 1
fi

dsc=$(ls "$work"/download/sqlite3_*.dsc 2>/dev/null | head -1)
orig=$(ls "$work"/download/sqlite3_*.orig.tar.* 2>/dev/null | grep -v -- '-www' | head -1)
[[ -n $dsc && -n $orig ]] || { Say "the download holds no .dsc or no source tarball"; exit 1; }
# The .dsc's Checksums-Sha256 field: " <sha256> <size> <file>" lines.
want=$(awk -v file="$(basename "$orig")" '/^Checksums-Sha256:/ {on = 1; next} /^[^ ]/ {on = 0} on && $3 == file {print $1}' "$dsc")
have=$(sha256sum "$orig" | cut -d' ' -f1)
[[ -n $want && $want == "$have" ]] || { Say "$(basename "$orig") does not match its .dsc"; exit 1; }

mkdir -p "$work/tree"
tar -xf "$orig" -C "$work/tree" || { Say "the tarball does not unpack"; exit 1; }
src=$(find "$work/tree" -mindepth 1 -maxdepth 1 -type d | head -1)
if ! (cd "$src" && ./configure --disable-shared >"$work/configure.log" 2>&1 && make sqlite3.c >"$work/make.log" 2>&1); then
  Say "the single-file source could not be made (see configure and make in $src)"
  exit 1
fi
mkdir -p "$dest"
cp "$src/sqlite3.c" "$src/sqlite3.h" "$src/sqlite3ext.h" "$dest/" || exit 1
{
  echo "suite $suite"
  echo "package $(basename "$dsc" .dsc)"
  echo "sha256 $have"
} >"$dest/SOURCE"
Say "made from $(basename "$dsc" .dsc) ($suite)"
