#!/bin/sh
# Validates the desktop entry or the AppStream metainfo as the desktop's own tools read them.
# Usage: validate.sh desktop FILE | validate.sh metainfo FILE
# Exit 0 when valid (no message at all from desktop-file-validate; no error, warning or info
# from appstreamcli), 1 when not, 77 (skipped) when the validator is not installed.
kind=$1
file=$2
case $kind in
  desktop) tool=desktop-file-validate ;;
  metainfo) tool=appstreamcli ;;
  *) echo "usage: $0 desktop|metainfo FILE" >&2; exit 2 ;;
esac
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"
  exit 77
fi
if [ "$kind" = desktop ]; then
  out=$(desktop-file-validate "$file" 2>&1)
  status=$?
  [ -n "$out" ] && echo "$out"
  [ $status -eq 0 ] && [ -z "$out" ]
  exit $?
fi
appstreamcli validate --no-net --pedantic "$file"
