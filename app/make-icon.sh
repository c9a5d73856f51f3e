#!/usr/bin/env bash
# Draws the program icon (app/tavlen.ico: 16, 32 and 48 pixels) with ImageMagick.
# The icon is committed; run this only to change it.
set -euo pipefail
cd "$(dirname "$0")"
MAGICK=/usr/bin/convert  # by full path: a wrapper of the same name may come first on PATH
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A blue rounded tile with a white "T" over the three band colours of the console.
"$MAGICK" -size 256x256 xc:none \
  -fill '#2962C8' -draw 'roundrectangle 8,8 247,247 40,40' \
  -fill '#C82828' -draw 'rectangle 40,176 100,216' \
  -fill '#39C732' -draw 'rectangle 110,176 146,216' \
  -fill '#D9EEFB' -draw 'rectangle 156,176 216,216' \
  -fill white -draw 'rectangle 52,40 204,76' -draw 'rectangle 110,40 146,164' \
  "$tmp/tile.png"
for size in 16 32 48; do
  "$MAGICK" "$tmp/tile.png" -resize ${size}x${size} "$tmp/icon-$size.png"
done
"$MAGICK" "$tmp/icon-16.png" "$tmp/icon-32.png" "$tmp/icon-48.png" tavlen.ico
echo "wrote $(pwd)/tavlen.ico"
