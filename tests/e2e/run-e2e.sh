#!/usr/bin/env bash
# The end-to-end layer: builds tavlen.exe, standin.exe and the drivers for x86_64
# (build-win64) and i686 (build-win32), then runs the console's stories under
# Wine for every console/room pairing, and the other Wine checks built from the
# same folders (stand-in check, backend smoke, widget backend, device ports).
# A check passes only when its program prints its success line ("E2E OK" …),
# never on the exit code alone: a 32-bit exe under a Wine without wine32
# "succeeds" doing nothing. Nothing is run twice: a failure fails the layer.
#   tests/e2e/run-e2e.sh [--no-install]
# Build folders: $TAVLEN_BUILD_WIN64 / $TAVLEN_BUILD_WIN32; the Wine prefix is
# <64-bit folder>/e2e/wineprefix. When the 32-bit Wine cannot be installed (a
# broken package mirror), the i686 programs still build, everything they take
# part in is reported NOT RUN with apt's reason (also appended to
# $TAVLEN_NOT_RUN_FILE when set), and the rest decides the result.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tests/e2e/wine.sh"
source "$ROOT/tests/e2e/console.sh"

install=1
for arg in "$@"; do
  case $arg in
    --no-install) install=0 ;;
    *) echo "usage: $0 [--no-install]" >&2; exit 2 ;;
  esac
done
B64=${TAVLEN_BUILD_WIN64:-build-win64}
B32=${TAVLEN_BUILD_WIN32:-build-win32}
started_all=$SECONDS

if [ $install = 1 ]; then
  wine_install --32 --stories
elif ! wine_pkg_installed wine32:i386; then
  WINE32_NOT_RUN="wine32:i386 is not installed"
fi

summary=()
failed=0
programs=(tavlen standin console_e2e standin_check win32_smoke win32_backend_check ports_smoke)
e2e_build x86_64 "$ROOT/$B64" "${programs[@]}"
e2e_build i686 "$ROOT/$B32" "${programs[@]}"

# i686 programs run only with the 32-bit Wine.
runs32() { [ -z "$WINE32_NOT_RUN" ]; }
if ! runs32; then
  not_run="i686 pairings NOT RUN: $WINE32_NOT_RUN"
  summary+=("$not_run")
  [ -z "${TAVLEN_NOT_RUN_FILE:-}" ] || echo "$not_run" >>"$TAVLEN_NOT_RUN_FILE"
fi

e2e_silent_sound "$ROOT/$B64"
# A prefix of its own: the stories need a desktop that no other harness shares.
wine_start "$ROOT/$B64/e2e"
wine_dpi 96  # a run cut short may have left another scale
# The sound server of the stories that need one (the mixer, sound shortcuts).
pulse=(--pulse)
if ! e2e_pulse_start "$ROOT/$B64/e2e"; then
  summary+=("FAIL  no PulseAudio: the mixer and sound stories cannot run")
  failed=1
  pulse=()
fi
trap 'wine_stop; e2e_pulse_stop' EXIT

# show_log <log>: a failed check's output, without Wine's own noise.
show_log() {
  tr -d '\r' <"$1" | grep -av '^ALSA\|^[0-9a-f]*:err:\|^[0-9a-f]*:fixme:' | sed 's/^/  | /'
}

# run_pair <console dir> <room dir>: the driver of the console's architecture.
run_pair() {
  local cdir=$ROOT/$1 rdir=$ROOT/$2 name="$1 console, $2 room" started=$SECONDS
  local log="$cdir/console_e2e-vs-$(basename "$2").log"
  # A fresh wineserver: nothing an earlier run left (programs, hotkeys, atoms)
  # takes part in this one.
  wineserver -k 2>/dev/null || true
  timeout 20 wineserver -w 2>/dev/null || true
  # Every story of one pairing, the automatic kick's two intervals, three
  # console restarts and a minute beside a lying room among them: about 4 min
  # idle, twice that on a loaded machine.
  wine_run 540 "$cdir/console_e2e.exe" --console "$(winpath "$cdir/tavlen.exe")" \
    --standin "$(winpath "$rdir/standin.exe")" --work "$(winpath "$cdir/e2e-work/$(basename "$2")")" "${pulse[@]}" \
    >"$log" 2>&1 || true
  # Wine's console writes CR LF; the log may hold 8-bit text.
  if tr -d '\r' <"$log" | grep -aqx 'E2E OK'; then
    summary+=("PASS  $name ($((SECONDS - started)) s)")
    local skipped
    while IFS= read -r skipped; do summary+=("        $skipped"); done \
      < <(tr -d '\r' <"$log" | grep -a '^-- skipped\|^-- noted' | sed 's/^-- //' | sort -u)
    return 0
  fi
  echo "== $name FAILED, output:"
  show_log "$log"
  summary+=("FAIL  $name ($((SECONDS - started)) s)")
  failed_checks "$log"
  failed=1
}
# failed_checks <log>: the failed checks under their row, so that the end of
# a long run says what broke; a run that ended without its verdict says how.
failed_checks() {
  local line
  while IFS= read -r line; do summary+=("        $line"); done \
    < <(tr -d '\r' <"$1" | grep -a '^FAIL \|^E2E FAILED\|^E2E TIMEOUT' | head -8)
  tr -d '\r' <"$1" | grep -aq '^E2E FAILED\|^E2E OK\|^E2E TIMEOUT' ||
    summary+=("        no verdict; last line: $(tr -d '\r' <"$1" | grep -av '^[0-9a-f]*:err:\|^[0-9a-f]*:fixme:' | tail -n 1)")
}
# check <label> <marker> <seconds> <exe> [args...]: another Wine check of the folders.
check() {
  local label=$1 marker=$2 deadline=$3 exe=$4 started=$SECONDS; shift 4
  local log="${exe%.exe}-${label//[^a-z0-9]/_}.log"
  wine_run "$deadline" "$exe" "$@" >"$log" 2>&1 || true
  if tr -d '\r' <"$log" | grep -aqx "$marker"; then
    summary+=("PASS  $label ($((SECONDS - started)) s)")
  else
    summary+=("FAIL  $label ($((SECONDS - started)) s)")
    failed_checks "$log"
    echo "== $label FAILED, output:"
    show_log "$log"
    failed=1
  fi
}

# The stand-in itself first: the stories lean on it.
check "$B64 stand-in check, $B64 room" 'STANDIN CHECK OK' 150 "$ROOT/$B64/standin_check.exe" "$(winpath "$ROOT/$B64/standin.exe")"
runs32 && check "$B64 stand-in check, $B32 room" 'STANDIN CHECK OK' 150 "$ROOT/$B64/standin_check.exe" "$(winpath "$ROOT/$B32/standin.exe")"
runs32 && check "$B32 stand-in check, $B32 room" 'STANDIN CHECK OK' 150 "$ROOT/$B32/standin_check.exe" "$(winpath "$ROOT/$B32/standin.exe")"
runs32 && check "$B32 stand-in check, $B64 room" 'STANDIN CHECK OK' 150 "$ROOT/$B32/standin_check.exe" "$(winpath "$ROOT/$B64/standin.exe")"

run_pair "$B64" "$B64"
# The 64-bit console at 100, 150 and 200 % (the prefix's scale set for each),
# then the prefix back at 100 % for what follows and for the next run.
for dpi in 96 144 192; do
  if wine_dpi "$dpi"; then
    check "$B64 console at $dpi DPI" 'E2E OK' 120 "$ROOT/$B64/console_e2e.exe" \
      --console "$(winpath "$ROOT/$B64/tavlen.exe")" --standin "$(winpath "$ROOT/$B64/standin.exe")" \
      --work "$(winpath "$ROOT/$B64/e2e-work/scales")" --only scales
  else
    summary+=("FAIL  $B64 console at $dpi DPI: the scale could not be set")
    failed=1
  fi
done
wine_dpi 96 || { summary+=("FAIL  the prefix could not be set back to 96 DPI"); failed=1; }
if runs32; then
  run_pair "$B64" "$B32"
  run_pair "$B32" "$B32"
  run_pair "$B32" "$B64"
fi

widths=("$B64")
runs32 && widths+=("$B32")
for dir in "${widths[@]}"; do
  check "$dir backend smoke" 'SMOKE OK' 120 "$ROOT/$dir/win32_smoke.exe"
  check "$dir widget backend" 'BACKEND OK' 90 "$ROOT/$dir/win32_backend_check.exe"
done
# The device and process ports (hotkeys, mixer, sound, volume, another process's
# tree), each console width reading a tree of the other's where both run. The
# prefix has a sound card (a silent one), so devices are expected.
if runs32; then
  TAVLEN_PORTS_SOUND=1 check "$B64 device ports" 'PORTS OK' 150 "$ROOT/$B64/ports_smoke.exe" \
    --tree-exe "$(winpath "$ROOT/$B32/ports_smoke.exe")"
  TAVLEN_PORTS_SOUND=1 check "$B32 device ports" 'PORTS OK' 150 "$ROOT/$B32/ports_smoke.exe" \
    --tree-exe "$(winpath "$ROOT/$B64/ports_smoke.exe")"
else
  TAVLEN_PORTS_SOUND=1 check "$B64 device ports" 'PORTS OK' 150 "$ROOT/$B64/ports_smoke.exe"
fi

echo "== Wine end-to-end summary ($((SECONDS - started_all)) s)"
printf '  %s\n' "${summary[@]}"
exit $failed
