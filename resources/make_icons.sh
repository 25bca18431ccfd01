#!/bin/bash
# Draws the program's icon and pictures with ImageMagick. The results are committed; run this again
# only after changing a drawing:  bash resources/make_icons.sh
set -euo pipefail

convert=/usr/bin/convert
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
out="$work/images"
icons="$here/icons"
mkdir -p "$out" "$icons"

# The tree's pictures are drawn on silver, the usual mask colour of an image list;
# the dialogs' pictures on the window background.
mask='#C0C0C0'
window='#F3F3F7'

# A 24-bit bitmap, as LoadImage and ImageList_AddMasked take it.
bitmap() {  # size background output draw-commands...
  local size=$1 background=$2 output=$3
  shift 3
  "$convert" -size "${size}x${size}" "xc:$background" +antialias "$@" -alpha off -type TrueColor "BMP3:$output"
}

# The icon: a page going into a shredder and coming out in strips. Drawn in a 48-unit square.
shredder_commands=(
  -stroke '#5A6270' -strokewidth 1.5 -fill white -draw 'rectangle 14,3 34,24'
  -stroke '#8FA3C4' -strokewidth 1.5 -draw 'line 18,9 30,9' -draw 'line 18,13 30,13' -draw 'line 18,17 27,17'
  -stroke '#1E2838' -strokewidth 1.5 -fill '#34415A' -draw 'roundrectangle 5,20 43,33 3,3'
  -stroke none -fill '#10151F' -draw 'rectangle 11,22 37,24'
  -fill '#4CD964' -draw 'circle 38,29 39.5,29'
  -stroke '#5A6270' -strokewidth 1 -fill white
  -draw 'rectangle 13,34 16,44' -draw 'rectangle 19,34 22,41' -draw 'rectangle 25,34 28,45'
  -draw 'rectangle 31,34 34,40'
)

"$convert" -size 48x48 xc:none "${shredder_commands[@]}" "PNG32:$work/48.png"
"$convert" -size 32x32 xc:none -affine 0.6667,0,0,0.6667,0,0 "${shredder_commands[@]}" "PNG32:$work/32.png"
# At 16x16 the drawing is redone pixel by pixel: a reduction would blur the strips away.
"$convert" -size 16x16 xc:none +antialias \
  -fill '#5A6270' -draw 'rectangle 4,0 11,7' -fill white -draw 'rectangle 5,1 10,7' \
  -fill '#8FA3C4' -draw 'line 6,2 9,2' -draw 'line 6,4 9,4' \
  -fill '#1E2838' -draw 'rectangle 1,7 14,11' -fill '#34415A' -draw 'rectangle 2,8 13,10' \
  -fill '#10151F' -draw 'line 3,8 12,8' -fill '#4CD964' -draw 'point 12,10' \
  -fill '#5A6270' -draw 'line 4,12 4,15' -draw 'line 6,12 6,14' -draw 'line 9,12 9,15' -draw 'line 11,12 11,13' \
  "PNG32:$work/16.png"
"$convert" -size 24x24 xc:none -affine 0.5,0,0,0.5,0,0 "${shredder_commands[@]}" "PNG32:$work/24.png"
"$convert" "$work/16.png" "$work/24.png" "$work/32.png" "$work/48.png" "$here/nullora.ico"

# The tree's pictures, 16x16 pixel art.
bitmap 16 "$mask" "$out/computer.bmp" \
  -fill '#6B7280' -draw 'rectangle 1,1 14,11' -fill '#3B82F6' -draw 'rectangle 3,3 12,9' \
  -fill '#93C5FD' -draw 'line 4,4 7,4' -fill '#6B7280' -draw 'rectangle 6,12 9,13' -draw 'rectangle 3,14 12,14'
bitmap 16 "$mask" "$out/windows.bmp" \
  -fill '#1E3A8A' -draw 'rectangle 1,2 14,13' -fill '#3B82F6' -draw 'rectangle 2,3 13,5' \
  -fill white -draw 'rectangle 2,6 13,12' -fill '#EF4444' -draw 'point 12,4' \
  -fill '#9CA3AF' -draw 'line 4,8 10,8' -draw 'line 4,10 8,10'
bitmap 16 "$mask" "$out/browser.bmp" \
  -fill '#2563EB' -draw 'circle 7.5,7.5 7.5,1' -fill '#22C55E' -draw 'polygon 4,4 8,3 9,6 6,8 4,7' \
  -draw 'polygon 9,9 12,8 12,11 10,12' -stroke '#BFDBFE' -fill none -draw 'ellipse 7.5,7.5 3,6.5 0,360'
bitmap 16 "$mask" "$out/recycle_bin.bmp" \
  -fill '#4B5563' -draw 'rectangle 2,2 13,3' -draw 'rectangle 6,1 9,1' -fill '#9CA3AF' \
  -draw 'polygon 3,4 12,4 11,14 4,14' -fill '#4B5563' -draw 'line 6,6 6,12' -draw 'line 9,6 9,12'
bitmap 16 "$mask" "$out/search.bmp" \
  -fill '#374151' -draw 'circle 6,6 6,1' -fill '#BAE6FD' -draw 'circle 6,6 6,3' -fill white -draw 'point 5,4' \
  -stroke '#92400E' -strokewidth 2 -draw 'line 10,10 14,14'
bitmap 16 "$mask" "$out/temp_files.bmp" \
  -fill '#D97706' -draw 'rectangle 1,3 6,4' -fill '#FBBF24' -draw 'rectangle 1,5 14,13' \
  -fill white -draw 'circle 10,10 10,6' -fill '#374151' -draw 'line 10,7 10,10' -draw 'line 10,10 12,10'
bitmap 16 "$mask" "$out/recent_docs.bmp" \
  -fill '#9CA3AF' -draw 'rectangle 5,1 14,12' -fill white -draw 'rectangle 6,2 13,11' \
  -fill '#4B5563' -draw 'rectangle 1,4 10,15' -fill white -draw 'rectangle 2,5 9,14' \
  -fill '#60A5FA' -draw 'line 3,7 8,7' -draw 'line 3,9 8,9' -draw 'line 3,11 6,11'
bitmap 16 "$mask" "$out/cookies.bmp" \
  -fill '#B45309' -draw 'circle 7.5,7.5 7.5,1' -fill '#F59E0B' -draw 'circle 7.5,7.5 7.5,2' \
  -fill '#451A03' -draw 'rectangle 5,4 6,5' -draw 'rectangle 9,6 10,7' -draw 'rectangle 4,9 5,10' \
  -draw 'rectangle 8,10 9,11' -draw 'point 11,9'
bitmap 16 "$mask" "$out/internet_files.bmp" \
  -fill '#D97706' -draw 'rectangle 0,3 5,4' -fill '#FBBF24' -draw 'rectangle 0,5 12,13' \
  -fill '#2563EB' -draw 'circle 11,11 11,7' -fill '#22C55E' -draw 'polygon 9,9 12,8 12,11 10,12'
bitmap 16 "$mask" "$out/url_history.bmp" \
  -fill '#1F2937' -draw 'circle 7.5,7.5 7.5,1' -fill white -draw 'circle 7.5,7.5 7.5,2' \
  -fill '#1F2937' -draw 'line 7,4 7,8' -draw 'line 7,8 10,9' -fill '#DC2626' -draw 'point 7,8'
bitmap 16 "$mask" "$out/autocomplete.bmp" \
  -fill '#6B7280' -draw 'rectangle 0,2 15,7' -fill white -draw 'rectangle 1,3 14,6' \
  -fill '#1F2937' -draw 'line 3,4 3,5' -draw 'line 5,4 6,4' -draw 'line 5,5 6,5' \
  -fill '#6B7280' -draw 'rectangle 0,8 15,15' -fill '#DBEAFE' -draw 'rectangle 1,9 14,14' \
  -fill '#2563EB' -draw 'line 2,10 10,10' -draw 'line 2,13 8,13' -fill '#93C5FD' -draw 'line 2,11 12,11'

# Each tree picture as an icon of 16, 24, 32 and 48 pixels, for the display's scale: the pixel art
# enlarged by whole pixels (24 sampled from 48), on a transparent ground instead of the mask colour.
for picture in "$out"/*.bmp; do
  name=$(basename "$picture" .bmp)
  "$convert" "$picture" -transparent "$mask" "PNG32:$work/$name-16.png"
  "$convert" "$work/$name-16.png" -filter point -resize 32x32 "PNG32:$work/$name-32.png"
  "$convert" "$work/$name-16.png" -filter point -resize 48x48 "PNG32:$work/$name-48.png"
  "$convert" "$work/$name-48.png" -filter point -resize 24x24 "PNG32:$work/$name-24.png"
  "$convert" "$work/$name-16.png" "$work/$name-24.png" "$work/$name-32.png" "$work/$name-48.png" \
    "$icons/$name.ico"
done

# The wipe-job dialogs' pictures, drawn at each size: the shredder, and an eraser over written lines.
"$convert" "$work/16.png" "$work/24.png" "$work/32.png" "$work/48.png" "$icons/job_shredder.ico"
eraser_commands=(
  -fill '#60A5FA' -draw 'rectangle 3,6 28,7' -draw 'rectangle 3,12 24,13' -draw 'rectangle 3,18 26,19'
  -draw 'rectangle 3,24 14,25'
  -fill '#BE185D' -draw 'polygon 14,26 24,14 30,20 20,31'
  -fill '#F472B6' -draw 'polygon 10,22 20,10 24,14 14,26'
)
for size in 16 24 32 48; do
  scale=$(awk "BEGIN { print $size / 32 }")
  "$convert" -size "${size}x${size}" xc:none -affine "$scale,0,0,$scale,0,0" "${eraser_commands[@]}" \
    "PNG32:$work/eraser-$size.png"
done
"$convert" "$work"/eraser-{16,24,32,48}.png "$icons/job_eraser.ico"
echo "made $here/nullora.ico and $(ls "$icons" | wc -l) icons in $icons"
