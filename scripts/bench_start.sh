#!/usr/bin/env bash
# From exec to the first visible window: a Release build installed into a scratch prefix (the
# layout a package installs), started with the starter lesson on the command line on a private
# Xvfb, each start in a fresh process with a fresh home; the median of the starts. Extra
# arguments go to the benchmark (e.g. --runs=9, or --against=OTHER/bin/verbaro to alternate the
# starts with those of another installed build and print the ratio, --store=FILE to start
# each with a copy of that progress store).
#
#   bash scripts/bench_start.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build="$root/build/bench"
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVERBARO_BENCH=ON -DVERBARO_TESTS=OFF \
  >/dev/null
cmake --build "$build" -j "$(nproc)" --target verbaro verbaro-lesson first_window_bench

work=$(mktemp -d "${TMPDIR:-/tmp}/verbaro-bench-start.XXXXXX")
xvfb_pid=
stop_all() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    # An X server still setting itself up may not heed the first signal.
    for _ in $(seq 50); do kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap stop_all EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
program="$work/prefix/bin/verbaro"
lesson="$work/01-premiers-mots.db"
cp lessons/01-premiers-mots.db "$lesson"

# A display of its own, numbered by Xvfb itself (written to the file once it listens).
: >"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=
for _ in $(seq 100); do
  display=$(tr -dc '0-9' <"$work/display")
  [ -n "$display" ] && break
  sleep 0.1
done
if [ -z "$display" ]; then
  echo "Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi

echo "load: $(uptime)"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
DISPLAY=":$display" "$build/bench/first_window_bench" "$program" "$lesson" "$@"
