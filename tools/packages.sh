# Debian packages for the project's commands, installed so that a flaky package
# mirror does not stop them. Source it from bash:
#
#   packages_need <pkg>...      installs the packages not installed yet; on failure
#                               returns 1 with apt's reason in PACKAGES_ERROR
#   packages_add_i386           lets apt see the 32-bit packages (wine32:i386)
#
# The mirror has served a broken index for hours (seen: the security updates'
# i386 Packages.xz "has unexpected size … Mirror sync in progress?"). apt-get
# update is therefore retried, and an update that still fails for some index is
# not fatal: the other indexes are fresh, and the install that follows tells
# whether what we need could be had.

PACKAGES_ERROR=
PACKAGES_UPDATE_ERROR=  # the update's reason when it kept failing
PACKAGES_UPDATED=0

packages_as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else echo "need root to run: $*" >&2; return 1
  fi
}

packages_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# apt's first error line, without the mirror's address.
packages_reason() {
  grep -E '^E:' | head -1 | sed 's/^E: *//; s/ *\[IP: [^]]*\]//; s/ *$//'
}

packages_update() {
  [ "$PACKAGES_UPDATED" = 1 ] && return 0
  local try out
  for try in 1 2 3 4; do
    if out=$(packages_as_root apt-get update -q 2>&1); then
      PACKAGES_UPDATED=1
      return 0
    fi
    echo "apt-get update failed (try $try of 4): $(printf '%s\n' "$out" | packages_reason)" >&2
    [ "$try" = 4 ] || sleep $((try * 10))
  done
  PACKAGES_UPDATED=1
  PACKAGES_UPDATE_ERROR=$(printf '%s\n' "$out" | packages_reason)
  echo "apt-get update: going on with the indexes it could fetch" >&2
}

packages_need() {
  local missing=() pkg out started=$SECONDS
  for pkg in "$@"; do packages_installed "$pkg" || missing+=("$pkg"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}" >&2
  packages_update
  if ! out=$(DEBIAN_FRONTEND=noninteractive packages_as_root apt-get install -y -q "${missing[@]}" 2>&1); then
    PACKAGES_ERROR=$(printf '%s\n' "$out" | packages_reason)
    [ -n "$PACKAGES_UPDATE_ERROR" ] && PACKAGES_ERROR="$PACKAGES_ERROR (apt-get update: $PACKAGES_UPDATE_ERROR)"
    echo "apt-get install ${missing[*]} failed: $PACKAGES_ERROR" >&2
    return 1
  fi
  echo "installed in $((SECONDS - started)) s" >&2
}

packages_add_i386() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  packages_as_root dpkg --add-architecture i386 || return 1
  PACKAGES_UPDATED=0
}
