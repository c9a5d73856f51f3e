#!/usr/bin/env bash
# How long the console takes to act under Wine, before and after the latency
# work, side by side in one run: the console of commit d4fec92 (or of --before
# REV; built from a temporary git worktree) and the current one, each driven
# by the current driver (console_e2e.exe --only latency) beside the current
# stand-in room of 500 users saying a line a second, for each room variant:
# plain (every action), two input boxes, a 1000-line transcript, 200 other
# windows (the key-downs and KICKER). Prints one table. A benchmark: never part
# of the test command, never fails a build; a run whose driver failed is marked
# FAILED.
#   bench/wine-latency.sh [--repeat N] [--variant-repeat N] [--before REV] [--no-install]
# Build folders: $TAVLEN_BUILD_WIN64 (build-win64) and $TAVLEN_BUILD_WIN32
# (build-win32) for the current programs, build-latency for the earlier console,
# the Wine prefix and the logs.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/e2e/wine.sh"
source "$ROOT/tests/e2e/console.sh"

BEFORE=d4fec92
repeat=20 variant_repeat=10 install=1
while [ $# -gt 0 ]; do
  case $1 in
    --repeat) repeat=$2; shift ;;
    --variant-repeat) variant_repeat=$2; shift ;;
    --before) BEFORE=$2; shift ;;
    --no-install) install=0 ;;
    *) echo "usage: $0 [--repeat N] [--variant-repeat N] [--before REV] [--no-install]" >&2; exit 2 ;;
  esac
  shift
done
B64=$ROOT/${TAVLEN_BUILD_WIN64:-build-win64}
B32=$ROOT/${TAVLEN_BUILD_WIN32:-build-win32}
L=$ROOT/build-latency
mkdir -p "$L"
started_all=$SECONDS

if [ $install = 1 ]; then
  wine_install --32 --stories
elif ! wine_pkg_installed wine32:i386; then
  WINE32_NOT_RUN="wine32:i386 is not installed"
fi
archs=(x86_64)
if [ -z "$WINE32_NOT_RUN" ]; then archs+=(i686); else echo "i686 NOT RUN: $WINE32_NOT_RUN"; fi
dir_of() { if [ "$1" = x86_64 ]; then echo "$B64"; else echo "$B32"; fi; }
before_of() { if [ "$1" = x86_64 ]; then echo "$L/before-win64"; else echo "$L/before-win32"; fi; }

# The earlier console, built once per architecture from a worktree made for the
# build and removed after it; kept while it is of that commit.
before_commit=$(git -C "$ROOT" rev-parse "$BEFORE^{commit}")
before_build() {
  local arch=$1 dir src=$L/before-src started=$SECONDS
  dir=$(before_of "$arch")
  if [ -f "$dir/tavlen.exe" ] && [ "$(cat "$dir/commit" 2>/dev/null)" = "$before_commit" ]; then
    echo "earlier console ($arch, $BEFORE) already built"
    return 0
  fi
  if [ ! -d "$src" ]; then
    git -C "$ROOT" worktree add --detach "$src" "$before_commit" >/dev/null
  fi
  cmake -S "$src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-$arch-w64-mingw32.cmake" >/dev/null
  ninja -C "$dir" -j2 tavlen >"$dir/build.log" 2>&1 || {
    echo "build of the earlier console ($arch) FAILED:"; tail -40 "$dir/build.log"; return 1
  }
  echo "$before_commit" >"$dir/commit"
  echo "built the earlier console ($arch, $BEFORE) in $((SECONDS - started)) s"
}
for arch in "${archs[@]}"; do
  e2e_build "$arch" "$(dir_of "$arch")" tavlen standin console_e2e
  before_build "$arch"
done
if [ -d "$L/before-src" ]; then git -C "$ROOT" worktree remove --force "$L/before-src"; fi

e2e_silent_sound "$L"
wine_start "$L"
wine --version >&2 || true

results=$L/results.txt
: >"$results"
summary=()
# run <arch> <variant label> <before|after> <repeat> <actions> [room args...]
run() {
  local arch=$1 variant=$2 which=$3 n=$4 actions=$5 started=$SECONDS; shift 5
  local dir console log label
  dir=$(dir_of "$arch")
  if [ "$which" = before ]; then console=$(before_of "$arch")/tavlen.exe; else console=$dir/tavlen.exe; fi
  label="$arch-${variant// /-}-$which"
  log=$L/$label.log
  # A fresh wineserver: nothing an earlier run left takes part.
  wineserver -k 2>/dev/null || true
  timeout 20 wineserver -w 2>/dev/null || true
  echo "== $arch, $variant room, $which console, $n runs of: ${actions:-every action}"
  wine_run 1900 "$dir/console_e2e.exe" --console "$(winpath "$console")" --standin "$(winpath "$dir/standin.exe")" \
    --work "$(winpath "$L/work/$label")" --only latency --repeat "$n" --room-args "$*" \
    ${actions:+--actions "$actions"} >"$log" 2>&1 || true
  tr -d '\r' <"$log" | grep -a '^-- latency' | sed 's/^/  | /'
  if tr -d '\r' <"$log" | grep -aqx 'E2E OK'; then
    summary+=("ok      $label ($((SECONDS - started)) s)")
  else
    summary+=("FAILED  $label ($((SECONDS - started)) s), see $log")
    tr -d '\r' <"$log" | grep -a 'FAIL\|TIMEOUT' | head -5 | sed 's/^/  | /'
  fi
  # variant|which|action|median|max|window_max|n
  tr -d '\r' <"$log" | sed -n 's/^-- latency: \([a-z]*\) median=\([0-9.]*\) max=\([0-9.]*\) window_max=\([0-9.]*\) n=\([0-9]*\)$/\1|\2|\3|\4|\5/p' |
    while IFS= read -r line; do echo "$arch $variant|$which|$line"; done >>"$results"
}

for arch in "${archs[@]}"; do
  for which in before after; do run "$arch" plain "$which" "$repeat" ""; done
  for which in before after; do run "$arch" "two boxes" "$which" "$variant_repeat" kicker --input-boxes 2; done
  for which in before after; do run "$arch" "1000 lines" "$which" "$variant_repeat" kicker --transcript-lines 1000; done
  for which in before after; do run "$arch" "200 windows" "$which" "$variant_repeat" kicker --other-windows 200; done
done

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo "== Wine latency run: $(wine --version 2>/dev/null), $cpu, $(nproc) cores, $(date -u +%Y-%m-%d)," \
  "load $(cut -d' ' -f1-3 /proc/loadavg), $(((SECONDS - started_all) / 60)) min"
echo "   before: the console of $BEFORE; after: $(git -C "$ROOT" rev-parse --short HEAD)$(git -C "$ROOT" diff --quiet HEAD -- . ':!build*' || echo ' with changes'); times in ms"
printf '  %s\n' "${summary[@]}"
# One row per room variant and action: before and after side by side.
awk -F'|' '
  { key = $1 "|" $3; if (!(key in seen)) { seen[key] = 1; order[++n] = key }
    cell[key "|" $2] = $4 " / " $5; win[key "|" $2] = $6; count[key "|" $2] = $7 }
  END {
    printf "| room, action | before median / max | after median / max | window longest wait before / after | runs |\n"
    printf "|---|---|---|---|---|\n"
    for (i = 1; i <= n; i++) {
      k = order[i]; split(k, part, "|")
      b = (k "|before") in cell ? cell[k "|before"] : "-"; a = (k "|after") in cell ? cell[k "|after"] : "-"
      wb = (k "|before") in win ? win[k "|before"] : "-"; wa = (k "|after") in win ? win[k "|after"] : "-"
      c = (k "|after") in count ? count[k "|after"] : count[k "|before"]
      printf "| %s, %s | %s | %s | %s / %s | %s |\n", part[1], part[2], b, a, wb, wa, c
    }
  }' "$results"
