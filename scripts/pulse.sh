#!/usr/bin/env bash
# Makes sure a PulseAudio-compatible sound server answers, for tests and headless runs.
#
#   scripts/pulse.sh [start]   start a private PulseAudio daemon with a null sink, unless a server
#                              (PulseAudio or PipeWire's pulse server) already answers
#   scripts/pulse.sh stop      stop the daemon, but only if this script started it
#   scripts/pulse.sh status    say whether a server answers and whether it is ours
#
#   scripts/pulse.sh start pipewire     start PipeWire, WirePlumber and PipeWire's pulse server
#   scripts/pulse.sh stop pipewire      (with a D-Bus session bus of their own, which WirePlumber
#   scripts/pulse.sh address pipewire   needs) in a runtime folder of their own, with the same
#                                       null sink; always a private one, whatever else runs.
#                                       Clients reach it through the address that `address`
#                                       prints (PULSE_SERVER).
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

# PipeWire ---------------------------------------------------------------------------------------

verbaro_pipewire_dir() {
  echo "${VERBARO_PIPEWIRE_DIR:-${TMPDIR:-/tmp}/verbaro-pipewire-$(id -u)}"
}

verbaro_pipewire_address() {
  echo "unix:$(verbaro_pipewire_dir)/pulse/native"
}

# Starts one program of the PipeWire set in its own session and notes "pid name" in the folder.
verbaro_pipewire_launch() {
  local dir=$1 name=$2
  shift 2
  setsid "$name" "$@" >/dev/null 2>>"$dir/$name.log" </dev/null &
  echo "$! $name" >>"$dir/pids"
}

verbaro_pipewire_start() {
  local dir address program
  dir="$(verbaro_pipewire_dir)"
  address="$(verbaro_pipewire_address)"
  if PULSE_SERVER="$address" pactl info >/dev/null 2>&1; then
    echo "pulse.sh: PipeWire already answers at $address" >&2
    return 0
  fi
  for program in pipewire wireplumber pipewire-pulse dbus-daemon pactl; do
    if ! command -v "$program" >/dev/null 2>&1; then
      echo "pulse.sh: $program is not installed" >&2
      return 1
    fi
  done
  verbaro_pipewire_stop >/dev/null 2>&1 || true
  rm -rf "$dir"
  mkdir -p "$dir/home" "$dir/config" "$dir/state"
  chmod 700 "$dir"
  (
    export XDG_RUNTIME_DIR="$dir" PIPEWIRE_RUNTIME_DIR="$dir" HOME="$dir/home"
    export XDG_CONFIG_HOME="$dir/config" XDG_STATE_HOME="$dir/state"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/bus"
    unset PULSE_SERVER DISPLAY WAYLAND_DISPLAY PIPEWIRE_REMOTE
    verbaro_pipewire_launch "$dir" dbus-daemon --session --nofork --nopidfile \
      --address="$DBUS_SESSION_BUS_ADDRESS"
    # The graph first; its session manager links streams to sinks; then the pulse server.
    verbaro_pipewire_launch "$dir" pipewire
    local tries=0
    until [ -S "$dir/pipewire-0" ] || [ "$tries" -gt 100 ]; do
      tries=$((tries + 1))
      sleep 0.05
    done
    verbaro_pipewire_launch "$dir" wireplumber
    verbaro_pipewire_launch "$dir" pipewire-pulse
  )
  local tries=0
  until PULSE_SERVER="$address" pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
      echo "pulse.sh: PipeWire started but does not answer (logs in $dir)" >&2
      return 1
    fi
    sleep 0.1
  done
  PULSE_SERVER="$address" pactl load-module module-null-sink sink_name=verbaro_null \
    sink_properties=device.description=Verbaro_null rate=44100 >/dev/null
  # The default lives in WirePlumber's settings, there once WirePlumber runs; when it holds,
  # streams are linked too.
  tries=0
  until PULSE_SERVER="$address" pactl set-default-sink verbaro_null >/dev/null 2>&1 &&
    [ "$(PULSE_SERVER="$address" pactl get-default-sink 2>/dev/null)" = verbaro_null ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ]; then
      echo "pulse.sh: PipeWire's null sink does not become the default output (logs in $dir)" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "pulse.sh: started PipeWire at $address with null sink verbaro_null" >&2
  return 0
}

verbaro_pipewire_stop() {
  local dir pid name
  dir="$(verbaro_pipewire_dir)"
  if [ ! -f "$dir/pids" ]; then
    echo "pulse.sh: no PipeWire started by this script" >&2
    return 0
  fi
  # The pulse server first, the bus last; only processes this script started, by their ids.
  tac "$dir/pids" | while read -r pid name; do
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ]; then
      kill "$pid" 2>/dev/null || true
      local tries=0
      while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt 50 ]; do
        tries=$((tries + 1))
        sleep 0.1
      done
    fi
  done
  rm -rf "$dir"
  echo "pulse.sh: stopped PipeWire" >&2
  return 0
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
  case "${1:-start} ${2:-}" in
    "start ") verbaro_pulse_start ;;
    "stop ") verbaro_pulse_stop ;;
    "status ") verbaro_pulse_status ;;
    "start pipewire") verbaro_pipewire_start ;;
    "stop pipewire") verbaro_pipewire_stop ;;
    "address pipewire") verbaro_pipewire_address ;;
    *)
      echo "usage: $0 [start|stop|status] | {start|stop|address} pipewire" >&2
      exit 2
      ;;
  esac
fi
