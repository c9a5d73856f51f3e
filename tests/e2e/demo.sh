#!/usr/bin/env bash
# ./dev demo: the console beside the stand-in room under Wine on a virtual
# display. Installs what it needs (apt-get), builds the x86_64 Windows programs
# (build-win64), starts a room with a few users chatting and the console, which
# asks the room for its rights ("/setopt") as it starts, then leaves
#   build-demo/demo.png      the desktop around the two windows
#   build-demo/desktop.png   the whole virtual screen
# and ends both programs.
#   tests/e2e/demo.sh [--no-install]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tests/e2e/wine.sh"
source "$ROOT/tests/e2e/console.sh"

B64=${TAVLEN_BUILD_WIN64:-build-win64}
OUT=$ROOT/build-demo
started=$SECONDS

[ "${1:-}" = --no-install ] || wine_install
e2e_build x86_64 "$ROOT/$B64" tavlen standin console_e2e
mkdir -p "$OUT"
rm -f "$OUT/demo.png" "$OUT/desktop.png"

e2e_silent_sound "$OUT"
wine_start "$ROOT/$B64/e2e"  # the prefix run-e2e.sh uses

driver=$ROOT/$B64/console_e2e.exe
args=(--console "$(winpath "$ROOT/$B64/tavlen.exe")" --standin "$(winpath "$ROOT/$B64/standin.exe")"
      --work "$(winpath "$OUT/work")")
wine_run 90 "$driver" "${args[@]}" --demo-start >"$OUT/demo.log" 2>&1 || true
ready=0
tr -d '\r' <"$OUT/demo.log" | grep -aqx 'DEMO READY' && ready=1
if [ $ready = 1 ]; then
  wine_screenshot "$OUT/desktop.png"
  # The two windows and a margin of the (black) desktop around them.
  /usr/bin/convert "$OUT/desktop.png" -trim +repage -bordercolor black -border 12 "$OUT/demo.png"
fi
wine_run 60 "$driver" --demo-stop >>"$OUT/demo.log" 2>&1 || true

if [ $ready = 1 ] && [ -s "$OUT/demo.png" ]; then
  echo "demo ready in $((SECONDS - started)) s: $OUT/demo.png (whole screen: $OUT/desktop.png)"
else
  echo "demo FAILED ($((SECONDS - started)) s), driver output:"
  tr -d '\r' <"$OUT/demo.log" | grep -av '^ALSA' | sed 's/^/  | /'
  exit 1
fi
