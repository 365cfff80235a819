#!/usr/bin/env bash
# Installs what is needed, builds the trainer and starts it beside the sample lessons, so that
# the open dialog (Ctrl+O) shows them first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh

build="$root/build/release"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVERBARO_TESTS=OFF -DVERBARO_WERROR=ON
cmake --build "$build" -j "$(nproc)" --target verbaro verbaro-lesson

# A desktop session has its own sound server; start one only where none answers.
bash scripts/pulse.sh start || echo "Звук недоступен: сервер PulseAudio не запущен." >&2

cd "$root/lessons"
exec "$build/app/verbaro" "$@"
