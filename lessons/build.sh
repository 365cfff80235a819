#!/usr/bin/env bash
# Rebuilds the sample lessons (lessons/*.db) from their word lists (lessons/src/*.tsv) with the
# lesson builder, then checks every lesson the way the trainer will read it.
#   lessons/build.sh [path/to/verbaro-lesson]
# Without an argument the builder is taken from $VERBARO_LESSON, the PATH, or a build folder of
# this repository (build*/tools/verbaro-lesson).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
tool="${1:-${VERBARO_LESSON:-}}"
if [ -z "$tool" ]; then
  tool="$(command -v verbaro-lesson || true)"
fi
if [ -z "$tool" ]; then
  for candidate in "$here"/../build*/tools/verbaro-lesson; do
    if [ -x "$candidate" ]; then tool="$candidate"; break; fi
  done
fi
if [ -z "$tool" ] || [ ! -x "$tool" ]; then
  echo "Не найден verbaro-lesson: соберите его (ninja verbaro-lesson) или укажите путь к нему." >&2
  exit 1
fi

for list in "$here"/src/*.tsv; do
  lesson="$here/$(basename "$list" .tsv).db"
  "$tool" build "$list" "$lesson" --replace
  if ! report="$("$tool" check "$lesson")"; then
    echo "$report" >&2
    exit 1
  fi
done
echo "Все уроки собраны и проверены."
