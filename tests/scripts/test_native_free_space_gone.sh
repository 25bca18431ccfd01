#!/usr/bin/env bash
# After a free-space wipe, what deleted files left in the free space must be gone from the medium.
# Files of marker text are written to a small loop-mounted ext2 image and deleted plainly; the raw
# image still holds their text (ext2 never clears a freed block), which the test checks first, so the
# search can fail. The drive's free space is then wiped, and the raw image searched again: none of
# the deleted text may be left, while a file that was kept is intact, its text still on the medium.
#
#   test_native_free_space_gone.sh <build dir>
set -euo pipefail

buildDir=${1:?usage: test_native_free_space_gone.sh <build dir>}
tool=$buildDir/tests/nullora_wipe_tool
[[ -x $tool ]] || { echo "FAIL: $tool is missing"; exit 1; }

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

Unmount() {
  if mountpoint -q "$mnt"; then umount "$mnt"; fi
  if [[ -n $loopDev ]]; then
    losetup -d "$loopDev"
    loopDev=""
  fi
}
Cleanup() {
  Unmount 2>/dev/null || true
  rm -rf "$work"
}
trap Cleanup EXIT

Mount() {
  loopDev=$(losetup -f --show "$work/img")
  mount "$loopDev" "$mnt"
}

# Numbered lines that appear nowhere else on the image, `bytes` of them.
WriteMarkerFile() {
  local marker=$1 bytes=$2 path=$3
  awk -v marker="$marker" -v bytes="$bytes" 'BEGIN {
    for (n = 1; size < bytes; n++) { line = sprintf("%s%07d\n", marker, n); printf "%s", line; size += length(line) }
  }' >"$path"
}

MarkerCount() {
  grep -a -c -- "$1" "$work/img" || true
}

# Deleted files of several sizes, some smaller than a block, one in a subfolder; and one file kept.
deleted=(DELETED-A DELETED-B DELETED-C DELETED-D DELETED-E)
sizes=(307200 1048576 700 3000 131072)
truncate -s 8M "$work/img"
mkfs.ext2 -q -F "$work/img"
Mount
mkdir "$mnt/folder"
for i in "${!deleted[@]}"; do
  place=$mnt
  [[ $i -eq 4 ]] && place=$mnt/folder
  WriteMarkerFile "NULLORA-FREE-SPACE-${deleted[$i]}-" "${sizes[$i]}" "$place/file$i.txt"
done
WriteMarkerFile "NULLORA-FREE-SPACE-KEPT-" 204800 "$mnt/kept.txt"
keptSum=$(sha256sum <"$mnt/kept.txt")
sync
rm "$mnt"/file*.txt "$mnt"/folder/file*.txt
sync
Unmount

failed=0

# The search must be able to fail: plainly deleted, every file's text is still on the medium.
for marker in "${deleted[@]}"; do
  found=$(MarkerCount "NULLORA-FREE-SPACE-$marker-")
  if [[ $found -gt 0 ]]; then
    echo "ok: after a plain delete, $found lines of $marker are on the medium"
  else
    echo "FAIL: a plain delete left nothing of $marker to find; this search could never fail"
    failed=1
  fi
done

Mount
start=$SECONDS
if ! "$tool" freespace "$mnt" 1; then
  echo "FAIL: the wipe tool reports the free space not wiped"
  failed=1
fi
echo "the free-space wipe took $((SECONDS - start)) s"
left=$(find "$mnt" -maxdepth 1 -name 'WNXTEMP.*')
if [[ -n $left ]]; then
  echo "FAIL: fill files are still on the drive: $left"
  failed=1
fi
if [[ $(sha256sum <"$mnt/kept.txt") != "$keptSum" ]]; then
  echo "FAIL: the kept file changed"
  failed=1
fi
Unmount

for marker in "${deleted[@]}"; do
  found=$(MarkerCount "NULLORA-FREE-SPACE-$marker-")
  if [[ $found -eq 0 ]]; then
    echo "ok: after the free-space wipe, none of $marker is on the medium"
  else
    echo "FAIL: after the free-space wipe, $found lines of $marker are still on the medium"
    failed=1
  fi
done
kept=$(MarkerCount "NULLORA-FREE-SPACE-KEPT-")
if [[ $kept -gt 0 ]]; then
  echo "ok: the kept file's text is still on the medium ($kept lines)"
else
  echo "FAIL: the kept file's text is gone from the medium"
  failed=1
fi

exit $failed
