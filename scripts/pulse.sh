#!/usr/bin/env bash
# Makes sure a PulseAudio-compatible sound server answers, for tests and headless runs.
#
#   scripts/pulse.sh [start]   start a private PulseAudio daemon with a null sink, unless a server
#                              (PulseAudio or PipeWire's pulse server) already answers
#   scripts/pulse.sh stop      stop the daemon, but only if this script started it
#   scripts/pulse.sh status    say whether a server answers and whether it is ours
#
# It may also be sourced (`source scripts/pulse.sh`): that starts the server like `start` and
# exports PULSE_SERVER, so that clients find it even when HOME or XDG_RUNTIME_DIR change later.
#
# Works as root too: PulseAudio only warns when run as root in per-user mode.

verbaro_pulse_state_file() {
  echo "${VERBARO_PULSE_STATE:-${TMPDIR:-/tmp}/verbaro-pulse-$(id -u).pid}"
}

verbaro_pulse_answers() {
  pactl info >/dev/null 2>&1
}

# The server's socket, e.g. /tmp/pulse-XXXX/native, as pactl reports it.
verbaro_pulse_socket() {
  pactl info 2>/dev/null | sed -n 's/^Server String: //p'
}

verbaro_pulse_start() {
  if verbaro_pulse_answers; then
    echo "pulse.sh: a sound server already answers at $(verbaro_pulse_socket)" >&2
    return 0
  fi
  if ! command -v pulseaudio >/dev/null 2>&1; then
    echo "pulse.sh: pulseaudio is not installed" >&2
    return 1
  fi
  # -n: no default configuration, only the modules named here: a sink that discards the sound
  # (its monitor can still be recorded) and the local socket clients connect through.
  pulseaudio --daemonize=yes --system=false --exit-idle-time=-1 -n \
    --realtime=no --high-priority=no --log-level=error \
    --load="module-null-sink sink_name=verbaro_null sink_properties=device.description=Verbaro_null" \
    --load="module-native-protocol-unix" || {
    echo "pulse.sh: pulseaudio did not start" >&2
    return 1
  }
  local tries=0
  until verbaro_pulse_answers; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ]; then
      echo "pulse.sh: pulseaudio started but does not answer" >&2
      return 1
    fi
    sleep 0.1
  done
  pactl set-default-sink verbaro_null >/dev/null 2>&1 || true

  # The daemon writes its pid beside its socket; remember it so that `stop` ends only this one.
  local socket pid
  socket="$(verbaro_pulse_socket)"
  socket="${socket#unix:}"
  pid="$(cat "$(dirname "$socket")/pid" 2>/dev/null || true)"
  if [ -n "$pid" ]; then
    echo "$pid $socket" >"$(verbaro_pulse_state_file)"
  fi
  echo "pulse.sh: started pulseaudio (pid ${pid:-unknown}) at $socket with null sink verbaro_null" >&2
  return 0
}

verbaro_pulse_stop() {
  local state pid socket
  state="$(verbaro_pulse_state_file)"
  if [ ! -f "$state" ]; then
    echo "pulse.sh: no sound server started by this script" >&2
    return 0
  fi
  read -r pid socket <"$state"
  rm -f "$state"
  if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "pulseaudio" ]; then
    kill "$pid"
    local tries=0
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 50 ]; do
      tries=$((tries + 1))
      sleep 0.1
    done
    echo "pulse.sh: stopped pulseaudio (pid $pid)" >&2
  else
    echo "pulse.sh: the pulseaudio this script started (pid ${pid:-unknown}) is gone" >&2
  fi
  return 0
}

verbaro_pulse_status() {
  local state
  state="$(verbaro_pulse_state_file)"
  if verbaro_pulse_answers; then
    echo "sound server answers at $(verbaro_pulse_socket)"
  else
    echo "no sound server answers"
  fi
  if [ -f "$state" ]; then echo "started by pulse.sh: $(cat "$state")"; fi
}

if [[ "${BASH_SOURCE[0]}" != "$0" ]]; then
  # Sourced: start, and point clients at the server that answers.
  if verbaro_pulse_start; then
    PULSE_SERVER="unix:$(verbaro_pulse_socket)"
    PULSE_SERVER="unix:${PULSE_SERVER#unix:}"
    export PULSE_SERVER
  fi
else
  set -u
  case "${1:-start}" in
    start) verbaro_pulse_start ;;
    stop) verbaro_pulse_stop ;;
    status) verbaro_pulse_status ;;
    *)
      echo "usage: $0 [start|stop|status]" >&2
      exit 2
      ;;
  esac
fi
