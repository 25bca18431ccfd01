#!/usr/bin/env bash
# After a wipe under Wine, the file's bytes must be gone from the medium itself, not just from the
# directory. Each scheme wipes a file on a small loop-mounted ext2 image, reached through a drive
# letter of the Wine prefix; the raw image is then searched for the file's text. ext2 never clears a
# freed block, so whatever the wipe did not write through to the medium is still there to be found.
#
#   test_win32_data_gone.sh <build dir>
#
# Runs in the prefix given by WINEPREFIX; without one it makes a private prefix of its own.
set -euo pipefail

buildDir=${1:?usage: test_win32_data_gone.sh <build dir>}
tool=$buildDir/tests/nullora_wipe_tool.exe
[[ -f $tool ]] || { echo "FAIL: $tool is missing"; exit 1; }

skip() {
  echo "skipped: $*"
  exit 77
}
[[ $(id -u) -eq 0 ]] || skip "no loop device (needs root)"
command -v mkfs.ext2 >/dev/null || skip "no mkfs.ext2"
losetup -f >/dev/null 2>&1 || skip "no loop device"

work=$(mktemp -d)
mnt=$work/mnt
mkdir "$mnt"
loopDev=""
driveLink=""
ownWine=0

if [[ -z ${WINEPREFIX:-} ]]; then
  # shellcheck source=../../scripts/wine_env.sh
  source "$(dirname "$0")/../../scripts/wine_env.sh"
  ownWine=1
  [[ -z ${NULLORA_WINE_ENV_BROKEN:-} ]] || { echo "FAIL: no usable Wine"; exit 1; }
fi
export WINEDEBUG=-all

Unmount() {
  if mountpoint -q "$mnt"; then
    # The wineserver may still be closing the last handles of the process that just ended.
    local tries=0
    until umount "$mnt" 2>/dev/null; do
      tries=$((tries + 1))
      [[ $tries -lt 50 ]] || { umount "$mnt"; return 1; }
      sleep 0.1
    done
  fi
  if [[ -n $loopDev ]]; then
    losetup -d "$loopDev"
    loopDev=""
  fi
}
Cleanup() {
  Unmount 2>/dev/null || true
  [[ -n $driveLink ]] && rm -f "$driveLink"
  rm -rf "$work"
  if [[ $ownWine -eq 1 ]]; then nullora_wine_env_cleanup; fi
}
trap Cleanup EXIT

# The mount point becomes a drive of the prefix, as a user would map a disk.
drive=""
for letter in m n o p q r s; do
  if [[ ! -e $WINEPREFIX/dosdevices/$letter: && ! -L $WINEPREFIX/dosdevices/$letter: ]]; then
    drive=$letter
    break
  fi
done
[[ -n $drive ]] || { echo "FAIL: no free drive letter in $WINEPREFIX"; exit 1; }
driveLink=$WINEPREFIX/dosdevices/$drive:
ln -s "$mnt" "$driveLink"
winePath="${drive^^}:\\secret.txt"

# A fresh 8 MiB ext2 image, attached and mounted on $mnt.
MountFreshImage() {
  rm -f "$work/img"
  truncate -s 8M "$work/img"
  mkfs.ext2 -q -F "$work/img"
  loopDev=$(losetup -f --show "$work/img")
  mount "$loopDev" "$mnt"
}

# About 300 KiB of numbered lines that appear nowhere else on the image.
WriteMarkerFile() {
  local marker=$1 path=$2
  awk -v marker="$marker" 'BEGIN {
    for (n = 1; size < 307200; n++) { line = sprintf("%s%07d\n", marker, n); printf "%s", line; size += length(line) }
  }' >"$path"
  sync
}

MarkerCount() {
  grep -a -c -- "$1" "$work/img" || true
}

failed=0

# The search must be able to fail: a file deleted without a wipe leaves its text on the image.
marker="NULLORA-W32-MARKER-PLAIN-DELETE-"
MountFreshImage
WriteMarkerFile "$marker" "$mnt/secret.txt"
rm "$mnt/secret.txt"
Unmount
found=$(MarkerCount "$marker")
if [[ $found -gt 0 ]]; then
  echo "ok: a plain delete leaves the text on the medium ($found lines found)"
else
  echo "FAIL: a plain delete left nothing to find; this search could never fail"
  failed=1
fi

for scheme in 0 1 2 3; do
  marker="NULLORA-W32-MARKER-$scheme-"
  MountFreshImage
  WriteMarkerFile "$marker" "$mnt/secret.txt"
  [[ $(MarkerCount "$marker") -gt 0 ]] || { echo "FAIL: scheme $scheme: the text never reached the image"; failed=1; }
  start=$SECONDS
  passes=1
  [[ $scheme -eq 3 ]] && passes=3
  if ! wine "$tool" "$scheme" "$winePath" "$passes"; then
    echo "FAIL: scheme $scheme: the wipe tool reports $winePath not wiped"
    failed=1
  fi
  leftovers=$(find "$mnt" -mindepth 1 -not -name lost+found -not -path "$mnt/lost+found/*" | wc -l)
  if [[ $leftovers -ne 0 ]]; then
    echo "FAIL: scheme $scheme: $leftovers entries left on the volume"
    failed=1
  fi
  if ! Unmount; then
    echo "FAIL: scheme $scheme: the volume stays busy after the wipe"
    exit 1
  fi
  found=$(MarkerCount "$marker")
  if [[ $found -eq 0 ]]; then
    echo "ok: scheme $scheme leaves none of the text on the medium ($((SECONDS - start)) s)"
  else
    echo "FAIL: scheme $scheme: $found lines of the wiped file's text are still on the medium"
    failed=1
  fi
done

exit $failed
