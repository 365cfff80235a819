#!/usr/bin/env bash
# Screenshots of the trainer to look at, taken on a private X server (Xvfb): in "Конспект-1"
# with the starter lesson an entry, a wrong typed letter and the hidden header; the other five
# modes with the lesson opened in each; a refused exam question (key 0) with the right answer
# highlighted; the Help, About and Video settings dialogs; the import window over a small table
# (previewed by the lesson tool found beside the program). Three screens, one subfolder each:
# 1366x768 (a small laptop), 1920x1080, and 3840x2160 drawn at a scale factor of 2.
#
#   scripts/screenshots.sh [VERBARO [FOLDER]]
#
# VERBARO is the built program (default build/release/app/verbaro, as scripts/run.sh builds
# it), FOLDER receives the PNG files (default build/screenshots). Needs Xvfb, xdotool and
# ImageMagick (import). Sets nothing up and builds nothing. The program runs on a copy of the
# sample lessons in a temporary folder and writes its diagnostic log there (copied next to the
# screenshots). It sounds into a private PulseAudio server with a null sink, so that no other
# program hears it; without pulseaudio the program reports at every entry that it has no sound
# device, and those message boxes are closed before each picture.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
verbaro=$(realpath -m "${1:-$root/build/release/app/verbaro}")
out=$(realpath -m "${2:-$root/build/screenshots}")

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing" >&2; exit 1; }
done
[[ -x "$verbaro" ]] || { echo "screenshots.sh: no program at $verbaro (build it first)" >&2; exit 1; }

# One run per screen, each into its own subfolder; a run is this script with the screen set.
if [[ -z "${SCREENSHOT_SCREEN:-}" ]]; then
  for screen in 1366x768:1 1920x1080:1 3840x2160:2; do
    size=${screen%:*} scale=${screen#*:}
    echo "== screen $size, scale $scale"
    SCREENSHOT_SCREEN=$size SCREENSHOT_SCALE=$scale "$0" "$verbaro" "$out/${size}-scale${scale}"
  done
  exit 0
fi
screen_size=$SCREENSHOT_SCREEN
scale=${SCREENSHOT_SCALE:-1}
# Nothing may reach the caller's own display.
unset DISPLAY

work=$(mktemp -d)
xvfb_pid=""
verbaro_pid=""
pulse_pid=""
cleanup() {
  set +e
  for pid in "$verbaro_pid" "$xvfb_pid" "$pulse_pid"; do
    if [[ -n "$pid" ]]; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

cp "$root"/lessons/*.db "$work/"
lesson=01-premiers-mots.db
log="$work/verbaro.log"
mkdir -p "$out" "$work/runtime"
rm -f "$out/failure.png"
chmod 700 "$work/runtime"

# Says what went wrong, with the end of the program's log and a picture of the screen.
fail() {
  echo "screenshots.sh: $*" >&2
  if [[ -f "$log" ]]; then
    tail -n 20 "$log" >&2
    cp "$log" "$out/verbaro.log"
  fi
  if [[ -n "${DISPLAY:-}" ]] && import -window root "$out/failure.png" 2>/dev/null; then
    echo "the screen at that moment: $out/failure.png" >&2
  fi
  exit 1
}

# ---- the X server: the first free display, reported by Xvfb itself ----
Xvfb -displayfd 3 -nolisten tcp -screen 0 "${screen_size}x24" 3>"$work/display" \
  >/dev/null 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  grep -q '^[0-9][0-9]*$' "$work/display" && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  sleep 0.1
done
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
[[ "$DISPLAY" != ":" ]] || fail "Xvfb did not report its display"
echo "Xvfb on display $DISPLAY"

# ---- a private sound server ----
pulse_server="unix:$work/no-sound-server"
if command -v pulseaudio >/dev/null; then
  mkdir -p "$work/pulse-home" "$work/pulse-runtime"
  chmod 700 "$work/pulse-runtime"
  HOME="$work/pulse-home" XDG_RUNTIME_DIR="$work/pulse-runtime" \
    pulseaudio --daemonize=no --system=false --exit-idle-time=-1 -n --use-pid-file=no \
    --realtime=no --high-priority=no --log-level=error \
    --load="module-null-sink sink_name=screenshots_null" \
    --load="module-native-protocol-unix socket=$work/pulse-socket" >"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  for _ in $(seq 50); do
    if PULSE_SERVER="unix:$work/pulse-socket" pactl info >/dev/null 2>&1; then
      pulse_server="unix:$work/pulse-socket"
      break
    fi
    sleep 0.1
  done
fi
[[ "$pulse_server" == *pulse-socket ]] || echo "no sound server: the program will say so" >&2

# ---- the program, in the lesson folder so that the open dialog shows the lessons ----
(
  cd "$work"
  export VERBARO_LOG="$log" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
  export LANG=ru_RU.UTF-8 PULSE_SERVER="$pulse_server" QT_SCALE_FACTOR="$scale"
  # A sanitizer build: the keymap library's unterminated strings and the leak report at the
  # end (the program is killed) are not what these pictures are about.
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0:detect_leaks=0"
  # Settings and progress of its own: the pictures show a first start, whatever the user kept.
  export XDG_DATA_HOME="$work/data-home" XDG_CONFIG_HOME="$work/config-home"
  exec "$verbaro"
) >"$work/verbaro.out" 2>&1 &
verbaro_pid=$!

# ---- waiting, focus and keys ----
# Lines of the log holding `text` (0 while there is no log yet).
count() {
  local lines
  lines=$(grep -c -F -- "$1" "$log" 2>/dev/null) || true
  echo "${lines:-0}"
}

# Waits until the log holds `text` at least `times` times (default once).
wait_log() {
  local text=$1 times=${2:-1}
  for _ in $(seq 200); do
    (($(count "$text") >= times)) && return 0
    kill -0 "$verbaro_pid" 2>/dev/null || fail "the program ended while waiting for: $text"
    sleep 0.1
  done
  fail "timed out waiting for: $text"
}

# xdotool search fails when it finds nothing: that is an answer here, not an error.
# The frame's title is "Обучающая программа: «Verbaro, v. 1.00»"; the dialogs and message boxes
# have their own captions. (xdotool matches Latin letters only.)
frame_window() {
  { xdotool search --onlyvisible --name 'Verbaro, v' 2>/dev/null || true; } | head -n1
}

# Visible windows other than the frame (dialogs, message boxes, the file chooser).
other_windows() {
  local frame
  frame=$(frame_window)
  { xdotool search --onlyvisible --name . 2>/dev/null || true; } | grep -v -x -F "${frame:-none}" ||
    true
}

# There is no window manager: the focus goes back to the frame only when it is given.
focus_frame() {
  local frame=""
  for _ in $(seq 100); do
    frame=$(frame_window)
    [[ -n "$frame" ]] && break
    sleep 0.1
  done
  [[ -n "$frame" ]] || fail "the main window did not appear"
  xdotool windowfocus --sync "$frame"
  sleep 0.2
}

# The first visible window other than the frame, waited for.
wait_other_window() {
  local window=""
  for _ in $(seq 100); do
    window=$(other_windows | head -n1)
    [[ -n "$window" ]] && { echo "$window"; return 0; }
    sleep 0.1
  done
  fail "no $1 appeared"
}

wait_no_other_window() {
  for _ in $(seq 100); do
    [[ -z "$(other_windows)" ]] && return 0
    sleep 0.1
  done
  fail "a window stayed open: $(other_windows | xargs -r -n1 xdotool getwindowname)"
}

press() {
  xdotool key --clearmodifiers "$@"
  sleep 0.2
}

# Every message box the log names ("Информация: ..." or "Ошибка: ...") and that is not yet
# closed is closed with Return, so that no box covers the next picture.
boxes_closed=0
close_boxes() {
  local shown
  shown=$(grep -c -E '^(Информация|Ошибка): ' "$log" 2>/dev/null) || true
  shown=${shown:-0}
  while ((boxes_closed < shown)); do
    local box
    box=$(wait_other_window "message box")
    echo "closing a message box: $(grep -E '^(Информация|Ошибка): ' "$log" | sed -n "$((boxes_closed + 1))p")"
    xdotool windowfocus --sync "$box"
    sleep 0.2
    press Return
    boxes_closed=$((boxes_closed + 1))
  done
  wait_no_other_window
}

# Lets the last repaint reach the screen, then takes the whole screen.
take() {
  sleep 0.5
  import -window root "$out/$1.png"
  echo "$out/$1.png"
}

# A picture of the frame alone: message boxes are closed first.
shot() {
  close_boxes
  take "$1"
}

# Opens the lesson with Ctrl+O: the file chooser starts in the current folder with the focus in
# its name field.
open_lesson() {
  local opened
  opened=$(count "Открыт файл: ")
  focus_frame
  press ctrl+o
  local dialog
  dialog=$(wait_other_window "file dialog")
  xdotool windowfocus --sync "$dialog"
  sleep 0.5
  xdotool type --delay 50 "$lesson"
  press Return
  wait_log "Открыт файл: " $((opened + 1))
  close_boxes
  focus_frame
}

# Switches mode with the given key and waits for its view.
switch_mode() {
  local keys=$1 name=$2
  focus_frame
  press "$keys"
  wait_log "Модуль \"$name\" в CWordsView::SetMainLog()"
  close_boxes
  focus_frame
}

# Takes a picture of a dialog opened by `keys`, then closes it with Escape (and the message box
# that may follow).
dialog_shot() {
  local keys=$1 picture=$2
  focus_frame
  press "$keys"
  local dialog
  dialog=$(wait_other_window "dialog after $keys")
  echo "dialog: $(xdotool getwindowname "$dialog")"
  take "$picture"
  xdotool windowfocus --sync "$dialog"
  press Escape
  # The Video settings report the chosen values in a message box when they close.
  sleep 0.5
  close_boxes
  focus_frame
}

# ---- Конспект-1 ----
wait_log 'Модуль "Конспект-1" в CWordsView::SetMainLog()'
open_lesson
shot 01-conspect1-entry

# A letter the first entry cannot start with turns the typing line red.
first=$(sed -n 's/.*m_wsKeyWord = "\(.\).*/\1/p' "$log" | tail -n1 | tr '[:upper:]' '[:lower:]')
wrong=x
[[ "$first" == x ]] && wrong=z
press "$wrong"
wait_log "Набрано: \"$wrong\" : ошибка"
shot 02-conspect1-wrong-letter
press BackSpace

press F3
wait_log " : m_bHideHeader = 1"
shot 03-conspect1-hidden-header

# ---- the other five modes, the lesson opened in each ----
switch_mode alt+F5 "Конспект-2"
open_lesson
shot 04-conspect2

switch_mode F6 "Видео-1"
open_lesson
shot 05-video1
dialog_shot F4 06-video-settings

switch_mode alt+F6 "Видео-2"
open_lesson
shot 07-video2

switch_mode F7 "Экзамен-1"
open_lesson
shot 08-exam1
# Key 0 refuses the question: the right answer is highlighted.
press 0
wait_log "Подсказка: "
shot 09-exam1-refusal

switch_mode alt+F7 "Экзамен-2"
open_lesson
shot 10-exam2

# ---- dialogs ----
dialog_shot F1 11-help
dialog_shot ctrl+a 12-about

# ---- the import window, over a table as a spreadsheet saves it ----
printf '\xef\xbb\xbf%s\r\n' "Français;Русский" >"$work/mots.csv"
printf '%s\r\n' "le chat;кот" "la maison;дом" "l'école;школа" "la fenêtre;окно" >>"$work/mots.csv"
focus_frame
press alt+0
press 2
dialog=$(wait_other_window "file dialog of the import")
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool type --delay 50 mots.csv
press Return
wait_log "Импорт урока: предпросмотр "
take 13-import-window
press Escape
wait_no_other_window

cp "$log" "$out/verbaro.log"
echo "screenshots in $out"
