#!/usr/bin/env bash
# Builds standin.exe and its checking driver for x86_64 and i686 and runs every
# driver/stand-in pair under Wine. Passes only when each run prints
# "STANDIN CHECK OK". A 32-bit driver cannot read a 64-bit stand-in's tree: that
# pair runs everything else and says it skipped the tree.
#   tests/e2e/run-standin-check.sh [--no-install]
# Build folders: $TAVLEN_BUILD_WIN64 / $TAVLEN_BUILD_WIN32 (default build-win64 /
# build-win32); the Wine prefix lives in the 64-bit one.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tests/e2e/wine.sh"

[ "${1:-}" = --no-install ] || wine_install

B64=${TAVLEN_BUILD_WIN64:-build-win64}
B32=${TAVLEN_BUILD_WIN32:-build-win32}

build() {  # build <arch> <dir>
  local started=$SECONDS
  cmake -S "$ROOT" -B "$ROOT/$2" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$1-w64-mingw32.cmake" >/dev/null
  ninja -C "$ROOT/$2" -j2 standin standin_check >/dev/null
  echo "built $1 in $((SECONDS - started)) s"
}
build x86_64 "$B64"
build i686 "$B32"

wine_start "$ROOT/$B64"

failed=0
run() {  # run <driver dir> <stand-in dir>
  local log="$ROOT/$1/standin_check-vs-$(basename "$2").log" started=$SECONDS
  wine_run 150 "$ROOT/$1/standin_check.exe" "$ROOT/$2/standin.exe" >"$log" 2>&1 || true
  # Wine's console writes CR LF.
  if tr -d '\r' <"$log" | grep -aqx 'STANDIN CHECK OK'; then
    echo "$1 driver, $2 stand-in: STANDIN CHECK OK ($((SECONDS - started)) s)"
    tr -d '\r' <"$log" | grep -aE '^-- (time|tree)' | sed 's/^/  /'
  else
    echo "$1 driver, $2 stand-in: FAILED ($((SECONDS - started)) s), output:"
    tr -d '\r' <"$log" | sed 's/^/  | /'
    failed=1
  fi
}
run "$B64" "$B64"
run "$B64" "$B32"
run "$B32" "$B32"
run "$B32" "$B64"
exit $failed
