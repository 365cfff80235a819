#!/bin/sh
# The program holds none of the test fakes: no symbol of the built binary names a Fake class.
# Usage: check_no_fakes.sh NM BINARY
set -eu
nm_tool=$1
binary=$2
symbols=$("$nm_tool" -C "$binary")
# A binary without symbols would pass for the wrong reason.
if ! printf '%s\n' "$symbols" | grep -q 'CMainFrame'; then
  echo "no symbols to check in $binary" >&2
  exit 1
fi
if printf '%s\n' "$symbols" | grep 'Fake'; then
  echo "test fakes linked into $binary" >&2
  exit 1
fi
echo "no fakes in $binary"
