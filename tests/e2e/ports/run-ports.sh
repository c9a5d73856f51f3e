#!/usr/bin/env bash
# Builds the ports smoke (ports_smoke.exe) for x86_64 and i686 and runs both
# under Wine, first without a sound server, then with a private PulseAudio.
# Each run also reads the tree of a child of the other architecture and
# receives a real Ctrl+Alt+F9 press sent with xdotool. Passes only when every
# run prints "PORTS OK".
#   tests/e2e/ports/run-ports.sh [--no-install] [--no-sound]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
source "$ROOT/tests/e2e/wine.sh"

install=1 sound=1
for arg in "$@"; do
  case $arg in
    --no-install) install=0 ;;
    --no-sound) sound=0 ;;
  esac
done
if [ $install = 1 ]; then
  wine_install --32 --stories
fi

build() {  # build <arch> <dir>
  local started=$SECONDS
  cmake -S "$ROOT" -B "$ROOT/$2" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$1-w64-mingw32.cmake" >/dev/null
  ninja -C "$ROOT/$2" -j2 ports_smoke >/dev/null
  echo "built $1 in $((SECONDS - started)) s"
}
build x86_64 build-ports-win64
build i686 build-ports-win32

PULSE_PID=
stop_all() {
  if [ -n "$PULSE_PID" ]; then
    kill "$PULSE_PID" 2>/dev/null || true
    wait "$PULSE_PID" 2>/dev/null || true
  fi
  wine_stop
}
wine_start "$ROOT/build-ports-win64"
trap stop_all EXIT
# Otherwise the X server itself may take Ctrl+Alt+F-keys.
setxkbmap -option srvrkeys:none 2>/dev/null || true

winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# run_one <label> <dir> <other dir>: one smoke run with a key press sent when it waits.
failed=0
run_one() {
  local label=$1 dir=$2 other=$3
  local log="$ROOT/$dir/ports_smoke-$label.log" started=$SECONDS
  wine_run 150 "$ROOT/$dir/ports_smoke.exe" --key-press \
    --tree-exe "$(winpath "$ROOT/$other/ports_smoke.exe")" >"$log" 2>&1 &
  local pid=$! waited=0 target=
  until grep -q 'waiting for a key press' "$log" 2>/dev/null; do
    kill -0 $pid 2>/dev/null || break
    [ $waited -ge 600 ] && break
    sleep 0.1; waited=$((waited + 1))
  done
  # The X window may be mapped a moment after the program says it waits.
  for _ in $(seq 50); do
    target=$(xdotool search --name 'Tavlen ports key target' 2>/dev/null | head -1 || true)
    [ -n "$target" ] && break
    sleep 0.1
  done
  if [ -n "$target" ]; then
    xdotool key --window "$target" ctrl+alt+F9 || wine_log "$label: xdotool failed"
  else
    wine_log "$label: no key target window"
  fi
  wait $pid || true
  if tr -d '\r' <"$log" | grep -qx 'PORTS OK'; then
    echo "$label: PORTS OK ($((SECONDS - started)) s)"
  else
    echo "$label: ports smoke FAILED ($((SECONDS - started)) s)"
    failed=1
  fi
  tr -d '\r' <"$log" | grep -v '^PORTS OK$' | sed 's/^/  | /'
}

export TAVLEN_PORTS_SOUND=0
run_one win64 build-ports-win64 build-ports-win32
run_one win32 build-ports-win32 build-ports-win64

if [ $sound = 1 ]; then
  # A private sound server: its own runtime folder, so a server someone else
  # runs is neither used nor stopped.
  export XDG_RUNTIME_DIR="$ROOT/build-ports-win64/pulse-runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit >"$XDG_RUNTIME_DIR/log" 2>&1 &
  PULSE_PID=$!
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.05; done
  if [ -S "$XDG_RUNTIME_DIR/pulse/native" ]; then
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native" TAVLEN_PORTS_SOUND=1
    run_one win64-sound build-ports-win64 build-ports-win32
    run_one win32-sound build-ports-win32 build-ports-win64
  else
    echo "pulseaudio did not start:"; sed 's/^/  | /' "$XDG_RUNTIME_DIR/log"; failed=1
  fi
fi
exit $failed
