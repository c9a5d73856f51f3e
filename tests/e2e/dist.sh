#!/usr/bin/env bash
# Portable zips of the Windows build: dist/tavlen-win64.zip and dist/tavlen-win32.zip,
# each holding tavlen.exe and the French guide LISEZMOI.txt (Windows-1252, CR LF).
#   ./dev dist
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tools/packages.sh"

packages_need cmake ninja-build zip g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686

mkdir -p "$ROOT/dist"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The guide is kept in UTF-8 in the repository; moderators open it with Notepad.
iconv -f UTF-8 -t WINDOWS-1252 "$ROOT/app/LISEZMOI.txt" | sed 's/$/\r/' >"$stage/LISEZMOI.txt"

for arch in x86_64:win64 i686:win32; do
  triple=${arch%%:*}
  name=${arch#*:}
  dir="$ROOT/build-$name"
  started=$SECONDS
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$triple-w64-mingw32.cmake" >/dev/null
  ninja -C "$dir" -j2 tavlen >/dev/null
  rm -rf "$stage/$name"
  mkdir -p "$stage/$name/tavlen"
  "$triple-w64-mingw32-strip" -o "$stage/$name/tavlen/tavlen.exe" "$dir/tavlen.exe"
  cp "$stage/LISEZMOI.txt" "$stage/$name/tavlen/"
  rm -f "$ROOT/dist/tavlen-$name.zip"
  (cd "$stage/$name" && zip -q -X -r "$ROOT/dist/tavlen-$name.zip" tavlen)
  echo "dist/tavlen-$name.zip ($(du -k "$ROOT/dist/tavlen-$name.zip" | cut -f1) KiB, $((SECONDS - started)) s)"
done
