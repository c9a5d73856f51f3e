#!/usr/bin/env bash
# Runs every fuzz target (or those named) for a fixed number of executions over its
# seed corpus in fuzz/corpus/<target>/, in the sanitizer build of the fuzz targets.
#   fuzz/run.sh [--scale K] [--seed S] [--no-build] [target...]
# --scale multiplies every target's execution count (1: the short run CI makes).
# New inputs found go to <build>/fuzz-work/<target>/ (never into the seed corpus,
# emptied at each run);
# a failing input is kept as <build>/fuzz-artifacts/<target>-crash-* and the run
# fails. The build folder is $TAVLEN_BUILD_FUZZ, by default build-asan: the host
# test build of ./dev test, which holds the fuzz targets too.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/${TAVLEN_BUILD_FUZZ:-build-asan}

# Executions of the short run: each target 10-20 s on the 2-core machine.
declare -A RUNS=(
  [words]=150000 [messages_ini]=4000 [hotkeys_ini]=20000 [config_ini]=60000 [highlight_ini]=60000
  [sounds_ini]=80000 [hotkey_text]=60000 [markup]=20000 [transcript]=6000 [room]=3000
)
ORDER=(words messages_ini hotkeys_ini config_ini highlight_ini sounds_ini hotkey_text markup transcript room)
# Longest input per target: files of a few hundred lines, markup and transcripts of a few ticks.
declare -A MAX_LEN=(
  [words]=2048 [messages_ini]=16384 [hotkeys_ini]=8192 [config_ini]=1024 [highlight_ini]=4096
  [sounds_ini]=1024 [hotkey_text]=128 [markup]=4096 [transcript]=16384 [room]=4096
)
# Further options: the room target also fails on any single allocation past 64 MB.
declare -A EXTRA=([room]=-malloc_limit_mb=64)

scale=1 seed=1 build=1 targets=()
while (($#)); do
  case $1 in
    --scale) scale=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
    *) [[ -v RUNS[$1] ]] || { echo "unknown target: $1" >&2; exit 2; }; targets+=("$1"); shift ;;
  esac
done
((${#targets[@]})) || targets=("${ORDER[@]}")

if [ $build = 1 ]; then
  # The same configuration as the host test build of ./dev.
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVLEN_FUZZ=ON \
    -DCMAKE_CXX_FLAGS="-O1 -g -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" >/dev/null
  ninja -C "$BUILD" -j2 fuzz
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0 summary=()
mkdir -p "$BUILD/fuzz-artifacts"
for t in "${targets[@]}"; do
  runs=$((RUNS[$t] * scale))
  work=$BUILD/fuzz-work/$t
  log=$BUILD/fuzz-work/$t.log
  # Every run starts from the seed corpus alone, so a run is repeatable.
  rm -rf "$work"
  mkdir -p "$work"
  dict=()
  [ -f "$ROOT/fuzz/dict/$t.dict" ] && dict=(-dict="$ROOT/fuzz/dict/$t.dict")
  extra=()
  [ -n "${EXTRA[$t]:-}" ] && extra=("${EXTRA[$t]}")
  started=$SECONDS
  if "$BUILD/fuzz/fuzz_$t" -runs="$runs" -seed="$seed" -max_len="${MAX_LEN[$t]}" -timeout=20 -rss_limit_mb=2048 \
       -print_final_stats=1 "${dict[@]}" "${extra[@]}" -artifact_prefix="$BUILD/fuzz-artifacts/$t-" "$work" "$ROOT/fuzz/corpus/$t" \
       >"$log" 2>&1; then
    done_line=$(grep -a '^Done' "$log" | tail -1)
    summary+=("PASS  $t: ${done_line#Done } ($((SECONDS - started)) s)")
  else
    summary+=("FAIL  $t ($((SECONDS - started)) s), log: $log")
    grep -a -A30 -m1 -E 'ERROR|fuzz check failed|runtime error' "$log" | sed 's/^/  | /' | head -40
    failed=1
  fi
done
echo "== fuzz (scale $scale, seed $seed)"
printf '  %s\n' "${summary[@]}"
exit $failed
