#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for the given number of seconds (default 60), after running every saved regression input
# once. Fails on any crash, sanitizer report, leak or broken invariant.
#
#   bash scripts/fuzz.sh [seconds-per-target] [target ...]     targets: lesson mp3 picture views
#                                                              anki kvtml csv recording journal
#
# New inputs found go into the build folder (build/fuzz/corpus/<target>), never into the
# repository; a crashing input is written to build/fuzz/crashes/ and named in the output.
# VERBARO_FUZZ_BUILD overrides the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then targets=(lesson mp3 picture views anki kvtml csv recording journal); fi

bash scripts/setup.sh

build=${VERBARO_FUZZ_BUILD:-$root/build/fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DVERBARO_FUZZ=ON -DVERBARO_SANITIZE=ON -DVERBARO_TESTS=OFF -DVERBARO_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target $(printf 'fuzz_%s ' "${targets[@]}")

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# The target's committed seeds, when it has a folder of them.
seed_folder() {
  if [ -d "$root/fuzz/corpus/$1" ]; then echo "$root/fuzz/corpus/$1"; fi
}

# Extra seed folders of a target besides fuzz/corpus/<target>.
extra_seeds() {
  case $1 in
    mp3) echo "$root/tests/fixtures/mp3" ;;
    picture) echo "$root/tests/fixtures/images" ;;
    kvtml) echo "$root/tests/fixtures/import/kvtml" ;;
    csv) echo "$root/tests/fixtures/import/csv" ;;
    recording) echo "$root/tests/fixtures/mp3" ;;
  esac
}

mkdir -p "$build/crashes"
for target in "${targets[@]}"; do
  binary="$build/fuzz/fuzz_$target"
  regressions="$root/fuzz/regressions/$target"
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    # Files given to libFuzzer run once each; a failure shows in the exit status.
    count=$(ls -A "$regressions" | wc -l)
    echo "== fuzz_$target: $count regression inputs"
    "$binary" -runs=0 "$regressions"/* > "$build/fuzz_${target}_regressions.log" 2>&1 || {
      echo "fuzz_$target: a regression input fails again:" >&2
      tail -60 "$build/fuzz_${target}_regressions.log" >&2
      exit 1
    }
  fi
  echo "== fuzz_$target: ${seconds} s"
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  # shellcheck disable=SC2046
  "$binary" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -print_final_stats=1 \
    -artifact_prefix="$build/crashes/${target}-" \
    "$corpus" $(seed_folder "$target") $(extra_seeds "$target") \
    > "$build/fuzz_$target.log" 2>&1 || {
    echo "fuzz_$target failed; the end of its output ($build/fuzz_$target.log):" >&2
    tail -60 "$build/fuzz_$target.log" >&2
    exit 1
  }
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|DONE' "$build/fuzz_$target.log" || true
done
echo "fuzzing: ${#targets[@]} passed, 0 failed"
