# Shared by run-e2e.sh and demo.sh (source after wine.sh): the Windows builds,
# a silent sound card and Windows paths.

# e2e_build <arch> <build dir> <targets...>: configures once, builds the targets.
e2e_build() {
  local arch=$1 dir=$2 started=$SECONDS; shift 2
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch-w64-mingw32.cmake" >/dev/null
  fi
  ninja -C "$dir" -j2 "$@" >"$dir/e2e-build.log" 2>&1 || {
    echo "build of $arch ($*) FAILED:"; tail -40 "$dir/e2e-build.log"; return 1
  }
  echo "built $arch in $((SECONDS - started)) s"
}

# A silent ALSA card for the Wine programs: without any sound device the
# console warns about the missing mixer in a message box at start-up. Only the
# Wine programs of this shell see it (HOME points to a folder of the build).
e2e_silent_sound() {
  local home=$1/e2e-home
  mkdir -p "$home"
  printf 'pcm.!default { type null }\n' >"$home/.asoundrc"
  export HOME=$home
}

# Unix path -> Windows path on Wine's Z: drive.
winpath() { local p=$1; echo "Z:${p//\//\\}"; }

# A private PulseAudio for the stories that need a sound server: its own runtime
# folder under the build directory, so a server someone else runs is neither
# used nor stopped. Exports PULSE_SERVER; the driver chooses for each console
# it starts whether it uses the server (Wine's audio driver setting), the others
# keep the silent card. Returns 1, saying why, when no server could start.
E2E_PULSE_PID=
e2e_pulse_start() {
  command -v pulseaudio >/dev/null || { echo "no pulseaudio installed"; return 1; }
  local runtime=$1/pulse-runtime
  mkdir -p "$runtime" && chmod 700 "$runtime"
  XDG_RUNTIME_DIR=$runtime pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit \
    >"$runtime/log" 2>&1 &
  E2E_PULSE_PID=$!
  local waited=0
  until [ -S "$runtime/pulse/native" ]; do
    if [ $waited -ge 100 ] || ! kill -0 "$E2E_PULSE_PID" 2>/dev/null; then
      echo "pulseaudio did not start:"; sed 's/^/  | /' "$runtime/log"
      e2e_pulse_stop
      return 1
    fi
    sleep 0.05; waited=$((waited + 1))
  done
  export PULSE_SERVER="unix:$runtime/pulse/native"
}

e2e_pulse_stop() {
  if [ -n "$E2E_PULSE_PID" ]; then
    kill "$E2E_PULSE_PID" 2>/dev/null || true
    wait "$E2E_PULSE_PID" 2>/dev/null || true
    E2E_PULSE_PID=
  fi
}
