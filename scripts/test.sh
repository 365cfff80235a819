#!/usr/bin/env bash
# Installs what is needed, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# starts a PulseAudio server with a null sink when no sound server runs, and runs every test on
# Qt's offscreen platform.
#
#   bash scripts/test.sh [--pipewire] [--no-fuzz] [ctest arguments]
#
# --pipewire  the tests play on PipeWire's pulse server instead: a private PipeWire with a null
#             sink, started for the run and stopped after it (also the servers that the sound
#             restart tests start and stop themselves)
# --no-fuzz   skip the short fuzzer runs
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

sound_server=pulseaudio
fuzz=yes
while (($#)); do
  case $1 in
    --pipewire) sound_server=pipewire ;;
    --no-fuzz) fuzz=no ;;
    *) break ;;
  esac
  shift
done
export VERBARO_SOUND_SERVER=$sound_server

bash scripts/setup.sh
# The code is laid out as .clang-format says (bash scripts/format.sh lays out what is not).
bash scripts/format.sh --check

# ccache may reuse objects compiled in another checkout of the same sources.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true

build="$root/build/asan"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVERBARO_SANITIZE=ON -DVERBARO_TESTS=ON \
  -DVERBARO_WERROR=ON
cmake --build "$build" -j "$(nproc)"

# Real sound in tests: a null sink whose monitor the tests record. A server that already runs
# (a desktop session's) is used as it is and left alone afterwards; PipeWire is always our own.
if [ "$sound_server" = pipewire ]; then
  VERBARO_PIPEWIRE_DIR=$(mktemp -d "${TMPDIR:-/tmp}/verbaro-pipewire.XXXXXX")
  export VERBARO_PIPEWIRE_DIR
  bash scripts/pulse.sh start pipewire
  trap 'bash "$root/scripts/pulse.sh" stop pipewire' EXIT
  PULSE_SERVER=$(bash scripts/pulse.sh address pipewire)
  export PULSE_SERVER
elif pactl info >/dev/null 2>&1; then
  echo "test.sh: using the sound server that already runs"
else
  bash scripts/pulse.sh start
  trap 'bash "$root/scripts/pulse.sh" stop' EXIT
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The fuzzers (clang, libFuzzer) for a short bounded time each, after their saved regressions.
if [ "$fuzz" = yes ]; then bash scripts/fuzz.sh 20; fi

cd "$build"
ctest --output-on-failure --timeout 900 -j "$(nproc)" "$@"
