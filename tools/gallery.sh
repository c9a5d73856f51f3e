#!/usr/bin/env bash
# Gathers the screenshots the Wine stories keep (BMPs in each story's console
# folder) into docs/gallery as PNGs, one per window kind. Run after the stories,
# look at every picture, then commit the ones that changed.
#   tools/gallery.sh [e2e-work folder of one pairing]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WORK=${1:-$ROOT/build-win64/e2e-work/build-win64}
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
exit $missing
