#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy (the bugprone and performance checks) over the
# Qt-free libraries: data/ (with the progress store), lessonwriter/, tools/ and lessonimport/,
# their headers included. Reads the compile commands of the sanitizer build, which
# scripts/test.sh configures; any warning fails the run.
#
#   bash scripts/tidy.sh [FILE-REGEX ...]     default: every source file of those folders
#
# VERBARO_TIDY_BUILD names another build folder with a compile_commands.json; JOBS the number of
# clang-tidy processes (default: the number of cores).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build=${VERBARO_TIDY_BUILD:-$root/build/asan}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy.sh: no $build/compile_commands.json; configure the build first (scripts/test.sh does)" >&2
  exit 1
fi
for tool in clang-tidy run-clang-tidy; do
  command -v "$tool" >/dev/null || { echo "tidy.sh: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

core="$root/(data|lessonwriter|tools|lessonimport)/"
files=("$@")
if ((${#files[@]} == 0)); then files=("^$core"); fi

# The build uses GCC; clang-tidy reads its flags with clang, which does not know some of GCC's
# warning options. Only the findings are shown, not each command and its count of the warnings
# left out in headers outside these folders.
run-clang-tidy -p "$build" -quiet -j "${JOBS:-$(nproc)}" -extra-arg=-Wno-unknown-warning-option "${files[@]}" 2>&1 |
  { grep -v -e '^clang-tidy-[0-9]* ' -e ' warnings\? generated\.$' -e '^Suppressed [0-9]* warnings' \
      -e '^Use -header-filter' -e '^Enabled checks' || true; }
echo "tidy.sh: no findings"
