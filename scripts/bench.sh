#!/usr/bin/env bash
# Installs what is needed, builds the benchmarks (Release) in build/bench, runs each one on Qt's
# offscreen platform and ends with a short summary of the ratios to the bare baselines.
# Extra arguments go to every benchmark, e.g. --benchmark_repetitions=5 (the summary then uses
# the medians) or --benchmark_filter=Repaint.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh

build="$root/build/bench"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVERBARO_BENCH=ON -DVERBARO_TESTS=OFF
cmake --build "$build" -j "$(nproc)" --target verbaro_benchmarks

export QT_QPA_PLATFORM=offscreen
results="$build/results"
rm -rf "$results"
mkdir -p "$results"
outputs=()
for bench in import_bench sync_bench lesson_bench decode_bench progress_bench repaint_bench exam_bench startup_bench memory_bench statistics_bench; do
  echo "== $bench"
  "$build/bench/$bench" --benchmark_out="$results/$bench.json" --benchmark_out_format=json "$@"
  outputs+=("$results/$bench.json")
done

echo "== growth_bench (fresh processes; the lessons are generated once into $build/lesson-cache)"
"$build/bench/growth_bench"

echo
echo "== Summary (wall time; ms CPU = process CPU time; x bare = ratio to the bare baseline)"
python3 bench/summarize.py "${outputs[@]}"
