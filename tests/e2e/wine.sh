# Shared shell library for running the Windows build under Wine on a virtual X
# display. Source it from bash:
#
#   source tests/e2e/wine.sh
#   wine_install [--32] [--stories]   # packages, only what is missing (root or sudo)
#   wine_start <build dir>       # Xvfb + prefix under <build dir>/wineprefix, stop on exit
#   wine_run 60 <exe> args...    # run with a deadline, output on stdout
#   wine_screenshot shot.png
#
# A program's exit code proves nothing under Wine (a 32-bit exe without wine32
# "succeeds" doing nothing): callers check the program's own success marker.

WINE_SH_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WINE_XVFB_PID=
WINE_DISPLAY_NUM=

wine_log() { printf '[wine] %s\n' "$*" >&2; }

source "$WINE_SH_DIR/../../tools/packages.sh"

wine_pkg_installed() { packages_installed "$1"; }

# What each command needs: the 64-bit build and Wine to run it (the demo), the
# 32-bit build, the stories' tools (real key presses, a sound server).
# fonts-wine holds Wine's symbol font (see wine_symbol_font); wine only
# recommends it.
WINE_PKGS_64=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
              wine wine64 fonts-wine xvfb xauth imagemagick x11-utils)
WINE_PKGS_32=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686)
WINE_PKGS_STORIES=(xdotool pulseaudio)

# wine_install [--32] [--stories]: the packages, only what is missing. With --32,
# also the 32-bit Wine: when apt cannot install it (a broken mirror), the call
# still succeeds and WINE32_NOT_RUN holds apt's reason; the i686 programs then
# build but cannot run.
WINE32_NOT_RUN=
wine_install() {
  local want32=0 wanted=("${WINE_PKGS_64[@]}") arg
  for arg in "$@"; do
    case $arg in
      --32) want32=1; wanted+=("${WINE_PKGS_32[@]}") ;;
      --stories) wanted+=("${WINE_PKGS_STORIES[@]}") ;;
    esac
  done
  if [ $want32 = 1 ] && ! packages_installed wine32:i386; then
    packages_add_i386 || return 1
  fi
  packages_need "${wanted[@]}" || return 1
  if [ $want32 = 1 ] && ! packages_need wine32:i386; then
    WINE32_NOT_RUN=$PACKAGES_ERROR
  fi
  return 0
}

wine_env() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine derives the ANSI code page from the locale: C.UTF-8 gives 1252.
  export LC_ALL=C.UTF-8
}

# Starts Xvfb on a free display and waits for its socket.
wine_start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset -r >/dev/null 2>&1 &
  WINE_XVFB_PID=$!
  WINE_DISPLAY_NUM=$n
  local waited=0
  until [ -S "/tmp/.X11-unix/X$n" ]; do
    if ! kill -0 "$WINE_XVFB_PID" 2>/dev/null; then
      wine_log "Xvfb :$n did not start"; WINE_XVFB_PID=; return 1
    fi
    [ $waited -ge 100 ] && { wine_log "Xvfb :$n: no socket after 10 s"; return 1; }
    sleep 0.1; waited=$((waited + 1))
  done
  export DISPLAY=":$n"
  wine_log "Xvfb on :$n (pid $WINE_XVFB_PID)"
}

# Creates the prefix <build dir>/wineprefix once. A prefix made before wine32
# was installed cannot start anything later and is rebuilt, as is one whose
# creation did not finish.
wine_prefix() {
  local build_dir=$1
  mkdir -p "$build_dir"
  export WINEPREFIX
  WINEPREFIX=$(cd "$build_dir" && pwd)/wineprefix
  local stamp="$WINEPREFIX/.tavlen-prefix" want="wine32=no"
  wine_pkg_installed wine32:i386 && want="wine32=yes"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] &&
     { [ "$want" = wine32=no ] || [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; }; then
    wine_symbol_font
    return 0
  fi
  if [ -d "$WINEPREFIX" ]; then
    wine_log "rebuilding the prefix ($(cat "$stamp" 2>/dev/null || echo unfinished), want $want)"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  local started=$SECONDS
  wine wineboot --init >/dev/null 2>&1 || { wine_log "wineboot --init failed"; return 1; }
  # Unmanaged windows: without a window manager Wine otherwise waits about 2 s
  # whenever a top-level window is hidden or destroyed.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    { wine_log "registry setting failed"; return 1; }
  timeout 30 wineserver -w || true
  echo "$want" >"$stamp"
  wine_log "prefix created in $((SECONDS - started)) s: $WINEPREFIX"
  wine_symbol_font
}

# Debian's Wine never reads /usr/share/wine/fonts, where fonts-wine puts
# Wine's own fonts (its font folder is built as "../fonts" from the data
# folder), and fontconfig does not list that folder either. Without Marlett,
# the symbol font of the title bar buttons, GDI picks a text font and the
# buttons show its "0", "1" and "r". Wine loads every font file in the
# prefix's Fonts folder, so a link there is enough. Only Marlett: Wine's text
# fonts would change the size of every text the stories look at.
wine_symbol_font() {
  local font fonts=$WINEPREFIX/drive_c/windows/Fonts
  font=$(dpkg -L fonts-wine 2>/dev/null | grep -m1 '/marlett\.ttf$') || {
    wine_log "no marlett.ttf from fonts-wine: title bar buttons will show letters"
    return 0
  }
  mkdir -p "$fonts"
  ln -sfn "$font" "$fonts/marlett.ttf"
}

# Display, environment and prefix; everything is stopped when the shell exits.
wine_start() {
  wine_env
  trap wine_stop EXIT
  trap 'exit 130' INT TERM
  wine_start_display || return 1
  wine_prefix "$1" || return 1
}

# wine_run <seconds> <exe> [args...]: the exe's output on stdout; 124 when the
# deadline passed (the program is killed).
wine_run() {
  local deadline=$1; shift
  timeout -k 5 "$deadline" wine "$@"
}

# The whole virtual screen as a PNG. ImageMagick by full path: a wrapper of the
# same name may come first on PATH.
wine_screenshot() {
  /usr/bin/import -display "$DISPLAY" -window root "$1"
}

wine_stop() {
  if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null; then
    timeout 20 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
  fi
  if [ -n "$WINE_XVFB_PID" ]; then
    kill "$WINE_XVFB_PID" 2>/dev/null || true
    wait "$WINE_XVFB_PID" 2>/dev/null || true
    WINE_XVFB_PID=
  fi
}
