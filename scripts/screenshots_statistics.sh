#!/usr/bin/env bash
# Screenshots of the statistics window (F8) to look at, on a private X server (Xvfb): the
# starter lesson with a generated history in a progress store of its own, both tabs. Two
# histories, a year and a single day (today), on two screens, one subfolder each: 1366x768, and
# 3840x2160 drawn at a scale factor of 2.
#
#   scripts/screenshots_statistics.sh [VERBARO [HISTORY [FOLDER]]]
#
# VERBARO is the built program (default build/release/app/verbaro), HISTORY the history writer
# built with the benchmarks (default build/bench/bench/verbaro_history, scripts/bench.sh builds
# it), FOLDER receives the PNG files (default build/screenshots-statistics). Builds nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
verbaro=$(realpath -m "${1:-$root/build/release/app/verbaro}")
history=$(realpath -m "${2:-$root/build/bench/bench/verbaro_history}")
out=$(realpath -m "${3:-$root/build/screenshots-statistics}")
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshots_statistics.sh: $tool is missing" >&2; exit 1; }
done
for program in "$verbaro" "$history"; do
  [[ -x "$program" ]] || { echo "screenshots_statistics.sh: no program at $program" >&2; exit 1; }
done

if [[ -z "${SCREENSHOT_SCREEN:-}" ]]; then
  for days in 365 1; do
    for screen in 1366x768:1 3840x2160:2; do
      size=${screen%:*} scale=${screen#*:}
      echo "== $days days of history, screen $size, scale $scale"
      SCREENSHOT_DAYS=$days SCREENSHOT_SCREEN=$size SCREENSHOT_SCALE=$scale \
        "$0" "$verbaro" "$history" "$out/days${days}-${size}-scale${scale}"
    done
  done
  exit 0
fi
unset DISPLAY
work=$(mktemp -d)
pids=()
cleanup() {
  set +e
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out" "$work/runtime" "$work/data/verbaro" "$work/config"
chmod 700 "$work/runtime"
lesson="$work/01-premiers-mots.db"
cp "$root/lessons/01-premiers-mots.db" "$lesson"
log="$work/verbaro.log"
"$history" "$lesson" "$work/data/verbaro/progress.sqlite" "${SCREENSHOT_DAYS:-365}"

Xvfb -displayfd 3 -nolisten tcp -screen 0 "${SCREENSHOT_SCREEN}x24" 3>"$work/display" \
  >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q '^[0-9][0-9]*$' "$work/display" && break; sleep 0.1; done
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"

# The program, silent: a sound server that is not there, whose one box is closed below.
(
  cd "$work"
  export VERBARO_LOG="$log" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
  export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" LANG=ru_RU.UTF-8
  export PULSE_SERVER="unix:$work/no-sound-server" QT_SCALE_FACTOR="$SCREENSHOT_SCALE"
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0:detect_leaks=0"
  exec "$verbaro" "$lesson"
) >"$work/verbaro.out" 2>&1 &
pids+=($!)

wait_log() {
  for _ in $(seq 150); do
    grep -q -F -- "$1" "$log" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "screenshots_statistics.sh: timed out waiting for: $1" >&2
  tail -n 20 "$log" >&2 || true
  exit 1
}
frame() { { xdotool search --onlyvisible --name 'Verbaro, v' 2>/dev/null || true; } | head -n1; }
others() {
  local f
  f=$(frame)
  { xdotool search --onlyvisible --name . 2>/dev/null || true; } | grep -v -x -F "${f:-none}" || true
}
focus_frame() {
  for _ in $(seq 100); do [[ -n "$(frame)" ]] && break; sleep 0.1; done
  xdotool windowfocus --sync "$(frame)"
  sleep 0.3
}
# Message boxes (no sound device, the store's notice) are closed with Return.
close_boxes() {
  for _ in $(seq 5); do
    local box
    box=$(others | head -n1)
    [[ -z "$box" ]] && return 0
    xdotool windowfocus --sync "$box" && xdotool key --clearmodifiers Return
    sleep 0.5
  done
}

wait_log "Текущая позиция"
sleep 1
close_boxes
focus_frame
xdotool key --clearmodifiers F8
wait_log "Статистика: новых"
sleep 1.5
window=$(others | head -n1)
xdotool windowfocus --sync "$window"
import -window root "$out/statistics-french.png"
xdotool key --clearmodifiers ctrl+Tab
sleep 1
import -window root "$out/statistics-russian.png"
xdotool key --clearmodifiers Escape
sleep 0.5
grep -F "Статистика:" "$log" >"$out/log-line.txt"
echo "screenshots in $out"
