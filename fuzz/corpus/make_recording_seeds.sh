#!/usr/bin/env bash
# Writes the seeds of fuzz_recording into fuzz/corpus/recording: a twentieth of a second of a
# tone in each format the importer reads, made by that format's own encoder, each followed by
# the byte that picks the name it is given (0 .mp3, 1 .ogg, 2 .m4a, 3 none).
# Needs sox, flac, oggenc, opusenc and ffmpeg. The files are committed; run this only to remake them.
set -euo pipefail
out="$(cd "$(dirname "$0")" && pwd)/recording"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"
sox -n -r 8000 -c 1 -b 16 "$tmp/tone.wav" synth 0.05 sine 440 vol 0.5
seed() {  # seed NAME SELECTOR FILE
  cat "$3" > "$out/$1"
  printf "\\x$2" >> "$out/$1"
}
seed wav 03 "$tmp/tone.wav"
flac -s --no-padding -o "$tmp/tone.flac" "$tmp/tone.wav" && seed flac 03 "$tmp/tone.flac"
oggenc -Q -o "$tmp/tone.ogg" "$tmp/tone.wav" && seed vorbis 01 "$tmp/tone.ogg"
opusenc --quiet "$tmp/tone.wav" "$tmp/tone.opus" && seed opus 01 "$tmp/tone.opus"
ffmpeg -nostdin -loglevel error -i "$tmp/tone.wav" -c:a aac -b:a 16k "$tmp/tone.m4a" && seed m4a 02 "$tmp/tone.m4a"
ffmpeg -nostdin -loglevel error -i "$tmp/tone.wav" -c:a aac -b:a 16k "$tmp/tone.aac" && seed adts 02 "$tmp/tone.aac"
sox "$tmp/tone.wav" "$tmp/tone.aiff" && seed aiff 03 "$tmp/tone.aiff"
