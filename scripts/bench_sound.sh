#!/usr/bin/env bash
# The key-to-sound benchmark on both sound servers in one run: a private PulseAudio, then a
# private PipeWire (with WirePlumber and its pulse server), each with the null sink verbaro_null
# as the default output, started for the run and stopped after it. Servers that others use are
# neither used nor touched. Extra arguments go to the benchmark (e.g. --keys=50).
#
#   bash scripts/bench_sound.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh

build="$root/build/bench"
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVERBARO_BENCH=ON -DVERBARO_TESTS=OFF \
  >/dev/null
cmake --build "$build" -j "$(nproc)" --target key_to_sound_bench

export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d "${TMPDIR:-/tmp}/verbaro-bench-sound.XXXXXX")
stop_all() {
  if [ -n "${pulse_runtime:-}" ]; then
    XDG_RUNTIME_DIR="$pulse_runtime" VERBARO_PULSE_STATE="$pulse_runtime/state" \
      bash "$root/scripts/pulse.sh" stop || true
  fi
  VERBARO_PIPEWIRE_DIR="$work/pipewire" bash "$root/scripts/pulse.sh" stop pipewire || true
  rm -rf "$work"
}
trap stop_all EXIT

# PulseAudio in a runtime folder of its own: pulse.sh finds no server there and starts one.
pulse_runtime="$work/pulse"
mkdir -p "$pulse_runtime"
chmod 700 "$pulse_runtime"
(
  export XDG_RUNTIME_DIR="$pulse_runtime" VERBARO_PULSE_STATE="$pulse_runtime/state" HOME="$pulse_runtime"
  unset PULSE_SERVER
  bash scripts/pulse.sh start
  export PULSE_SERVER="unix:$pulse_runtime/pulse/native"
  "$build/bench/key_to_sound_bench" --label=PulseAudio "$@"
) | tee "$work/pulseaudio.txt"
XDG_RUNTIME_DIR="$pulse_runtime" VERBARO_PULSE_STATE="$pulse_runtime/state" bash scripts/pulse.sh stop
pulse_runtime=

export VERBARO_PIPEWIRE_DIR="$work/pipewire"
bash scripts/pulse.sh start pipewire
PULSE_SERVER=$(bash scripts/pulse.sh address pipewire) \
  "$build/bench/key_to_sound_bench" --label=PipeWire "$@" | tee "$work/pipewire.txt"

echo
echo "== Summary"
grep -h "median" "$work/pulseaudio.txt" "$work/pipewire.txt"
