#!/usr/bin/env bash
# Builds the widget backend check for x86_64 and i686 and runs both under Wine.
# Passes only when each run prints "BACKEND OK".
#   tests/e2e/run-backend.sh [--no-install]
# TAVLEN_WIN_BUILD_PREFIX picks other build folders (default build-win: build-win64, build-win32).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tests/e2e/wine.sh"
PREFIX=${TAVLEN_WIN_BUILD_PREFIX:-build-win}

[ "${1:-}" = --no-install ] || wine_install

build() {  # build <arch> <dir>
  local started=$SECONDS
  cmake -S "$ROOT" -B "$ROOT/$2" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$1-w64-mingw32.cmake" >/dev/null
  if ! ninja -C "$ROOT/$2" -j2 win32_backend_check >"$ROOT/$2/backend-build.log" 2>&1; then
    echo "build for $1 FAILED:"; tail -30 "$ROOT/$2/backend-build.log"; return 1
  fi
  echo "built $1 in $((SECONDS - started)) s"
}
build x86_64 "${PREFIX}64"
build i686 "${PREFIX}32"

wine_start "$ROOT/${PREFIX}64"

failed=0
for dir in "${PREFIX}64" "${PREFIX}32"; do
  log="$ROOT/$dir/win32_backend_check.log"
  started=$SECONDS
  wine_run 90 "$ROOT/$dir/win32_backend_check.exe" >"$log" 2>&1 || true
  if tr -d '\r' <"$log" | grep -qx 'BACKEND OK'; then
    echo "$dir: BACKEND OK ($((SECONDS - started)) s)"
  else
    echo "$dir: backend check FAILED ($((SECONDS - started)) s), output:"
    tr -d '\r' <"$log" | grep -v '^ALSA' | sed 's/^/  | /'
    failed=1
  fi
done
exit $failed
