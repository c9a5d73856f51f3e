#!/usr/bin/env bash
# Fails on any include that points up the layers written in docs/ARCHITECTURE.md
# (its "Layers" table: a layer number, then the folders in backquotes) or across
# two rows of one layer, on a source file that sits in no layer, and on
# <windows.h> outside the folders the table marks "Win32".
#   tools/check-layers.sh
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

# "| 3 | `state` | …" → "state 3"; rows whose last cell says Win32 may include <windows.h>.
declare -A LAYER=() ROW=() WIN32=()
row=0
while IFS='|' read -r _ number folders rest; do
  number=${number// /}
  [[ $number =~ ^[0-9]+$ ]] || continue
  row=$((row + 1))
  for folder in $(grep -o '`[^`]*`' <<<"$folders" | tr -d '`'); do
    LAYER[$folder]=$number
    ROW[$folder]=$row
    [[ $rest == *Win32* ]] && WIN32[$folder]=1
  done
done < <(sed -n '/^## Layers/,/^## /p' docs/ARCHITECTURE.md)
((${#LAYER[@]})) || { echo "check-layers: no Layers table in docs/ARCHITECTURE.md" >&2; exit 2; }

# The folder of the table a path belongs to, its longest listed prefix, in REPLY.
folder_of() {
  local dir=${1%/*}
  REPLY=
  while [ -n "$dir" ]; do
    [[ -v LAYER[$dir] ]] && { REPLY=$dir; return; }
    [[ $dir == */* ]] || return 0
    dir=${dir%/*}
  done
}

faults=0
fault() { echo "  $*"; faults=$((faults + 1)); }
declare -A FOLDER=()
checked=0
while read -r file; do
  folder_of "$file"
  FOLDER[$file]=$REPLY
  if [ -z "${FOLDER[$file]}" ]; then fault "$file: in no layer"; else checked=$((checked + 1)); fi
done < <(git ls-files '*.h' '*.cpp')

while IFS=: read -r file target; do
  from=${FOLDER[$file]}
  [ -n "$from" ] || continue
  if [[ $target == '<'* ]]; then
    [[ -v WIN32[$from] ]] || fault "$file: includes <windows.h> outside the Win32 folders"
    continue
  fi
  # Includes relative to the file's own folder, and system headers, stay out of it.
  [[ $target == */* && -e $target ]] || continue
  folder_of "$target"
  to=$REPLY
  if [ -z "$to" ]; then
    fault "$file: includes $target, which is in no layer"
  elif ((LAYER[$to] > LAYER[$from])); then
    fault "$file ($from, layer ${LAYER[$from]}) includes $target ($to, layer ${LAYER[$to]})"
  elif ((LAYER[$to] == LAYER[$from] && ROW[$to] != ROW[$from])); then
    fault "$file ($from) includes $target ($to), which sits beside it on layer ${LAYER[$to]}"
  fi
done < <(git grep -E -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*("[^"]+"|<[Ww]indows\.h>)' -- '*.h' '*.cpp' |
           sed -E 's/:[[:space:]]*#[[:space:]]*include[[:space:]]*"?/:/; s/"$//')

if ((faults)); then
  echo "check-layers: $faults fault(s) in $checked files" >&2
  exit 1
fi
echo "check-layers: $checked files, every include points down"
