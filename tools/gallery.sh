#!/usr/bin/env bash
# Gathers the screenshots the Wine stories keep (BMPs in each story's console
# folder) into docs/gallery as PNGs, one per window kind. Run after the stories,
# look at every picture, then commit the ones that changed.
# The scales story's pictures at 96, 144 and 192 DPI go side by side.
#   tools/gallery.sh [e2e-work folder of one pairing] [e2e-work folder of the scales story]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WORK=${1:-$ROOT/build-win64/e2e-work/build-win64}
SCALES=${2:-$ROOT/build-win64/e2e-work/scales}
OUT=$ROOT/docs/gallery
command -v convert >/dev/null || { echo "gallery: ImageMagick's convert is needed" >&2; exit 1; }
mkdir -p "$OUT"

# picture name <- story folder/screenshot
SHOTS=(
  main-folded=owner-monitor/owner-menu-bar
  main-unfolded=moderation/panel-kicker
  debug=owner-monitor/debug-window
  chooser=user-tree/nick-chooser
  notification=owner-monitor/notification
  status-popup=no-mixer/source-mix-popup
  editor=moderation/editor
  hotkeys=hotkeys/hotkey-window
  sound-shortcuts=sound-shortcut/sound-shortcut-window
  volume=owner-monitor/volume-window
  audio=mixer/audio-window
  notification-settings=owner-monitor/notification-settings
  about=default-room/about
  help=default-room/help
)
missing=0
for entry in "${SHOTS[@]}"; do
  name=${entry%%=*}
  source=$WORK/${entry#*=}.bmp
  if [[ ! -f $source ]]; then
    echo "gallery: missing $source" >&2
    missing=1
    continue
  fi
  # -strip: no dates in the file, so an unchanged window gives unchanged bytes.
  convert "$source" -strip "$OUT/$name.png"
  echo "gallery: $OUT/$name.png"
done
for kind in main notification chooser editor; do
  shots=()
  for dpi in 96 144 192; do
    shot=$SCALES/scale-$dpi/$kind-$dpi.bmp
    if [[ -f $shot ]]; then shots+=("$shot"); else echo "gallery: missing $shot" >&2; missing=1; fi
  done
  [[ ${#shots[@]} == 3 ]] || continue
  # Top-aligned on black, 12 pixels apart.
  convert "${shots[@]}" -bordercolor black -border 6 -background black -gravity north +append -strip \
    "$OUT/scales-$kind.png"
  echo "gallery: $OUT/scales-$kind.png"
done
exit $missing
