#!/usr/bin/env bash
# quelmont.scr /s under Wine with "ExitOnMM" set in the registry: a move in the first second after
# loading leaves the run going; after that any move ends it, even by one pixel.
#   exit-on-mouse.sh SAVER.scr WORKDIR
set -u
saver=$1
work=$2
mkdir -p "$work"
source "$(dirname "$0")/saver-session.sh"
key='HKCU\Software\KORVANE Studio\Quelmont'

wine reg add "$key" /v ExitOnMM /t REG_DWORD /d 1 /f >/dev/null 2>&1 || { echo "FAIL: cannot set ExitOnMM"; exit 1; }
trap 'wine reg delete "$key" /v ExitOnMM /f >/dev/null 2>&1' EXIT

# Within the grace second a move is ignored, and the run is still going well after it.
if start_saver grace; then
  xdotool mousemove 400 300
  sleep 2.5
  kill -0 "$pid" 2>/dev/null || fail "grace: ended on a move within the first second"
  xdotool key a
  ended || fail "grace: still running after a key"
fi

# After the grace second a move across the screen ends the run. Each case moves twice: under a
# busy Xvfb one warp of the pointer was once seen to reach no window.
if start_saver far; then
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "far: ended before any move"
  xdotool mousemove 600 500 sleep 0.3 mousemove 640 520
  ended || fail "far: still running after a move"
fi

# There is no threshold: one pixel is a move too.
if start_saver pixel; then
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "pixel: ended before any move"
  xdotool mousemove 101 100 sleep 0.3 mousemove 102 100
  ended || fail "pixel: still running after a one-pixel move"
fi

finish
