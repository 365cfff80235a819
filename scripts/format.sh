#!/usr/bin/env bash
# Formats the C and C++ files of the tree with the project's .clang-format (clang-format 14, as
# Debian 12 ships it; another version may lay some lines out differently).
#
#   bash scripts/format.sh [FILE ...]           format the given files, or every C and C++ file
#   bash scripts/format.sh --check [FILE ...]   change nothing: name each file that formatting
#                                               would change, with how many of its lines, and
#                                               fail when there is one
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

check=no
if [ "${1:-}" = --check ]; then
  check=yes
  shift
fi
if ! command -v clang-format >/dev/null; then
  echo "format.sh: clang-format is missing (scripts/setup.sh installs it)" >&2
  exit 1
fi

files=("$@")
if ((${#files[@]} == 0)); then
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
  else
    mapfile -t files < <(find . -path ./build -prune -o -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)
  fi
fi

if [ "$check" = no ]; then
  clang-format -i --style="file:$root/.clang-format" "${files[@]}"
  exit 0
fi

unformatted=0
lines=0
for file in "${files[@]}"; do
  # The lines of the file that formatting would replace.
  changed=$(clang-format --style="file:$root/.clang-format" "$file" | diff -U0 "$file" - | grep -c '^-[^-]' || true)
  if ((changed > 0)); then
    echo "$file: $changed lines to change"
    unformatted=$((unformatted + 1))
    lines=$((lines + changed))
  fi
done
if ((unformatted > 0)); then
  echo "format.sh: not formatted: $unformatted of ${#files[@]} files, $lines lines; bash scripts/format.sh formats them" >&2
  exit 1
fi
echo "format.sh: all ${#files[@]} formatted"
