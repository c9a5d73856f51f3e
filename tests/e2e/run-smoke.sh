#!/usr/bin/env bash
# Builds the Win32 backend smoke driver for x86_64 and i686 and runs both under
# Wine. Passes only when each run prints "SMOKE OK".
#   tests/e2e/run-smoke.sh [--no-install]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tests/e2e/wine.sh"

[ "${1:-}" = --no-install ] || wine_install

build() {  # build <arch> <dir>
  local started=$SECONDS
  cmake -S "$ROOT" -B "$ROOT/$2" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$1-w64-mingw32.cmake" >/dev/null
  ninja -C "$ROOT/$2" -j2 win32_smoke >/dev/null
  echo "built $1 in $((SECONDS - started)) s"
}
build x86_64 build-win64
build i686 build-win32

# One prefix serves both architectures (a 64-bit prefix with wine32 runs both).
wine_start "$ROOT/build-win64"

failed=0
for dir in build-win64 build-win32; do
  log="$ROOT/$dir/win32_smoke.log"
  started=$SECONDS
  wine_run 120 "$ROOT/$dir/win32_smoke.exe" >"$log" 2>&1 || true
  # Wine's console writes CR LF.
  if tr -d '\r' <"$log" | grep -qx 'SMOKE OK'; then
    echo "$dir: SMOKE OK ($((SECONDS - started)) s)"
  else
    echo "$dir: smoke FAILED ($((SECONDS - started)) s), output:"
    tr -d '\r' <"$log" | sed 's/^/  | /'
    failed=1
  fi
done
exit $failed
