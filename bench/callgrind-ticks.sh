#!/usr/bin/env bash
# Instructions per timer tick, counted by callgrind (repeatable where times are
# not): each tick benchmark of bench_timers runs under valgrind, counting only
# inside its measuring loop.
#   bench/callgrind-ticks.sh [path/to/bench_timers]   (default: build-bench/bench/bench_timers)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=${1:-$ROOT/build-bench/bench/bench_timers}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '%-24s %14s %8s\n' benchmark instructions allocs
for name in $("$exe" --benchmark_list_tests); do
  log=$out/log
  valgrind --tool=callgrind --toggle-collect='*Measure*' --callgrind-out-file="$out/cg" \
    "$exe" --benchmark_filter="^${name}\$" --benchmark_min_time=0.01 >"$log" 2>&1
  collected=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$log")
  # The row: name, time, unit, cpu, unit, iterations, counters.
  row=$(grep -a "^${name} " "$log" | tail -1)
  iterations=$(awk '{print $6}' <<<"$row")
  allocs=$(sed -n 's/.*allocs=\([0-9.]*\).*/\1/p' <<<"$row")
  # The measuring loop runs one tick more than it reports (the first use of the buffers).
  printf '%-24s %14d %8s\n' "$name" $((collected / (iterations + 1))) "$allocs"
done
