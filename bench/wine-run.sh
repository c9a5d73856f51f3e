#!/usr/bin/env bash
# The console's cost under Wine beside a busy room, measured against the floor
# program in the same run, for the 64-bit and the 32-bit builds: tavlen.exe
# attached to a stand-in room of 500 users saying one line a second, for 60 s.
# A benchmark, never part of the test command. With --repeat N each width runs N
# times and the summary gives every run and the medians.
#   bench/wine-run.sh [--seconds N] [--users N] [--repeat N] [--only 64|32] [--no-install]
# Build folders: $TAVLEN_PERF_WIN64 (build-perfwin) and $TAVLEN_PERF_WIN32
# (build-perfwin32); the Wine prefix lives in the 64-bit one.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tests/e2e/wine.sh"
source "$ROOT/tests/e2e/console.sh"

seconds=60 users=500 repeat=1 only= install=1
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift ;;
    --users) users=$2; shift ;;
    --repeat) repeat=$2; shift ;;
    --only) only=$2; shift ;;
    --no-install) install=0 ;;
    *) echo "usage: $0 [--seconds N] [--users N] [--repeat N] [--only 64|32] [--no-install]" >&2; exit 2 ;;
  esac
  shift
done
B64=$ROOT/${TAVLEN_PERF_WIN64:-build-perfwin}
B32=$ROOT/${TAVLEN_PERF_WIN32:-build-perfwin32}

[ $install = 0 ] || wine_install --32

# The console and the stand-in from the project's build; the measuring program
# and the floor are single files, compiled as the Windows build compiles.
tools() {
  local arch=$1 dir=$2 cxx=$1-w64-mingw32-g++-posix
  local flags=(-O2 -std=c++20 -Wall -Wextra -static -static-libgcc -static-libstdc++)
  "$cxx" "${flags[@]}" "$ROOT/tests/e2e/perf/Floor.cpp" -o "$dir/floor.exe" -lcomctl32
  "$cxx" "${flags[@]}" "$ROOT/tests/e2e/perf/PerfRun.cpp" -o "$dir/perfrun.exe" -lpsapi
}
archs=()
[ "$only" = 32 ] || archs+=(64)
[ "$only" = 64 ] || archs+=(32)
for bits in "${archs[@]}"; do
  if [ "$bits" = 64 ]; then arch=x86_64 dir=$B64; else arch=i686 dir=$B32; fi
  e2e_build "$arch" "$dir" tavlen standin
  tools "$arch" "$dir"
done

e2e_silent_sound "$B64"
wine_start "$B64"
wine --version >&2 || true

# median <numbers...>
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR]=$1} END{print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
# field <name> <PERF line>
field() { sed -n "s/.* $1=\([0-9.]*\).*/\1/p" <<<" $2"; }

results=()
failed=0
for bits in "${archs[@]}"; do
  if [ "$bits" = 64 ]; then dir=$B64; else dir=$B32; fi
  ratios=() consoles=() floors=() privates=()
  for run in $(seq "$repeat"); do
    log="$dir/wine-run-$run.log"
    echo "== $bits-bit console, floor and room, $users users, ${seconds} s (run $run of $repeat)"
    # The measuring program is the same 64-bit one for both widths.
    wine_run $((seconds + 240)) "$B64/perfrun.exe" --console "$(winpath "$dir/tavlen.exe")" \
      --standin "$(winpath "$dir/standin.exe")" --floor "$(winpath "$dir/floor.exe")" \
      --work "$(winpath "$dir/perf-work")" --seconds "$seconds" --users "$users" >"$log" 2>&1 || true
    tr -d '\r' <"$log" | grep -av '^ALSA\|:fixme:\|:err:' | sed 's/^/  | /'
    if tr -d '\r' <"$log" | grep -aqx 'PERF OK' && tr -d '\r' <"$log" | grep -aqx 'FLOOR OK'; then
      line=$(tr -d '\r' <"$log" | grep -a '^PERF console' | sed 's/^PERF //')
      results+=("$bits-bit run $run: $line")
      ratios+=("$(field ratio "$line")")
      consoles+=("$(field console_cpu_pct "$line")")
      floors+=("$(field floor_cpu_pct "$line")")
      privates+=("$(field console_peak_private_mb "$line")")
    else
      results+=("$bits-bit run $run: FAILED (see $log)")
      failed=1
    fi
  done
  if [ ${#ratios[@]} -gt 0 ]; then
    results+=("$bits-bit median of ${#ratios[@]}: console $(median "${consoles[@]}") % of a core, floor $(median "${floors[@]}") %, ratio $(median "${ratios[@]}"), console peak private $(printf '%s\n' "${privates[@]}" | sort -g | tail -1) MB (highest)")
  fi
done

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo "== Wine performance run: $(wine --version 2>/dev/null), $cpu, $(nproc) cores, $(date -u +%Y-%m-%d)"
printf '  %s\n' "${results[@]}"
exit $failed
