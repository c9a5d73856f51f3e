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
