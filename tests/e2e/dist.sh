#!/usr/bin/env bash
# Portable zips of the Windows build: dist/tavlen-<version>-win64.zip and
# dist/tavlen-<version>-win32.zip, each a folder tavlen/ holding tavlen.exe, the
# practice room (standin.exe and salon-essai.cmd, which starts it) and the
# French guide LISEZMOI.txt, and dist/SHA256SUMS beside them.
#   ./dev dist
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tools/packages.sh"

packages_need cmake ninja-build zip unzip g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686

# The version is the one the executable's version resource declares; the about
# box shows its own copy, which must say the same.
version=$(sed -n 's/^ *VALUE "ProductVersion", "Ver \([0-9][0-9.]*\)".*/\1/p' "$ROOT/app/tavlen.rc")
if ! [[ $version =~ ^[0-9]+(\.[0-9]+)+$ ]]; then
  echo "dist: no ProductVersion \"Ver N.N.N\" in app/tavlen.rc" >&2
  exit 1
fi
shown=$(cd "$ROOT" && grep -rhoE '"Ver [0-9][0-9.]*"' app/tavlen.rc core ui | sort -u)
if [ "$shown" != "\"Ver $version\"" ]; then
  echo "dist: the version texts disagree:" $shown >&2
  exit 1
fi

mkdir -p "$ROOT/dist"
# Zips and sums of an earlier version would be mistaken for this one's.
rm -f "$ROOT"/dist/tavlen-*.zip "$ROOT/dist/SHA256SUMS"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# Kept in UTF-8 with LF in the repository; moderators open the guide with
# Notepad and cmd.exe runs the launcher, both on Windows-1252 with CR LF.
for text in LISEZMOI.txt salon-essai.cmd; do
  iconv -f UTF-8 -t WINDOWS-1252 "$ROOT/app/$text" | sed 's/$/\r/' >"$stage/$text"
done

zips=()
for arch in x86_64:win64 i686:win32; do
  triple=${arch%%:*}
  name=${arch#*:}
  dir="$ROOT/build-$name"
  zip_name=tavlen-$version-$name.zip
  started=$SECONDS
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$triple-w64-mingw32.cmake" >/dev/null
  ninja -C "$dir" -j2 tavlen standin >/dev/null
  rm -rf "$stage/$name"
  mkdir -p "$stage/$name/tavlen"
  for exe in tavlen standin; do
    "$triple-w64-mingw32-strip" -o "$stage/$name/tavlen/$exe.exe" "$dir/$exe.exe"
  done
  cp "$stage/LISEZMOI.txt" "$stage/salon-essai.cmd" "$stage/$name/tavlen/"
  (cd "$stage/$name" && zip -q -X -r "$ROOT/dist/$zip_name" tavlen)
  zips+=("$zip_name")
  echo "dist/$zip_name ($(du -k "$ROOT/dist/$zip_name" | cut -f1) KiB, $((SECONDS - started)) s)"
  unzip -l "$ROOT/dist/$zip_name" | sed 's/^/  /'
done
(cd "$ROOT/dist" && sha256sum "${zips[@]}" >SHA256SUMS)
echo "dist/SHA256SUMS:"
sed 's/^/  /' "$ROOT/dist/SHA256SUMS"
