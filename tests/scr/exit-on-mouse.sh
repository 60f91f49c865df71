#!/usr/bin/env bash
# quelmont.scr /s under Wine with "ExitOnMM" set in the registry: a move in the first second after
# loading leaves the run going; after that any move ends it, even by one pixel.
#   exit-on-mouse.sh SAVER.scr WORKDIR
set -u
saver=$1
work=$2
mkdir -p "$work"
key='HKCU\Software\KORVANE Studio\Quelmont'
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

wine reg add "$key" /v ExitOnMM /t REG_DWORD /d 1 /f >/dev/null 2>&1 || { echo "FAIL: cannot set ExitOnMM"; exit 1; }
trap 'wine reg delete "$key" /v ExitOnMM /f >/dev/null 2>&1' EXIT

# Starts the saver with /s with the pointer at (100, 100) and returns as soon as loading has
# finished (the grace second starts there); sets $pid and $trace.
start_saver() {
  trace="$work/$1.log"
  rm -f "$trace"
  xdotool mousemove 100 100
  QUELMONT_TRACE="Z:${trace//\//\\}" wine "$saver" /s >"$work/$1.out" 2>&1 &
  pid=$!
  for _ in $(seq 1 1200); do
    grep -q "Creating successfull" "$trace" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  fail "$1: loading did not finish"
  kill "$pid" 2>/dev/null
  return 1
}

# True when the saver has ended within 15 s, with its trace closed.
ended() {
  for _ in $(seq 1 75); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    return 1
  fi
  grep -q "Log closed" "$trace"
}

# Within the grace second a move is ignored, and the run is still going well after it.
if start_saver grace; then
  xdotool mousemove 400 300
  sleep 2.5
  kill -0 "$pid" 2>/dev/null || fail "grace: ended on a move within the first second"
  xdotool key a
  ended || fail "grace: still running after a key"
fi

# After the grace second: a move across the screen ends the run.
if start_saver far; then
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "far: ended before any move"
  xdotool mousemove 600 500
  ended || fail "far: still running after a move"
fi

# There is no threshold: one pixel is a move too.
if start_saver pixel; then
  sleep 2
  kill -0 "$pid" 2>/dev/null || fail "pixel: ended before any move"
  xdotool mousemove 101 100
  ended || fail "pixel: still running after a one-pixel move"
fi

[ "$failures" -eq 0 ] && echo PASS
exit "$failures"
