#!/usr/bin/env bash
# The failed graphics check's dialog under Wine: Enter chooses the download button (1), Escape
# cancels (2).
#   directx_dialog.sh PROGRAM
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }

press() {
  wine "$1" </dev/null >/dev/null 2>&1 &
  local program=$!
  local window
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Dialog$' | head -n 1) ||
    { kill "$program" 2>/dev/null; fail "the dialog did not appear"; }
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers "$2"
  local code=0
  wait "$program" || code=$?
  echo "$code"
}

code=$(press "$1" Return)
[ "$code" = 1 ] || fail "Enter gave $code"
code=$(press "$1" Escape)
[ "$code" = 2 ] || fail "Escape gave $code"
echo "Enter: download, Escape: cancel"
