#!/usr/bin/env bash
# quelmont.scr under Wine on the test run's X server: /s draws full screen and ends on a key; with
# the default settings a mouse move leaves it running and a click ends it.
#   run-saver.sh SAVER.scr WORKDIR
set -u
saver=$1
work=$2
mkdir -p "$work"
source "$(dirname "$0")/saver-session.sh"

# A key ends the run; the screen showed the room, not a flat colour.
if start_saver key; then
  sleep 2
  import -window root "$work/key.png"
  read -r mean deviation < <(convert "$work/key.png" -colorspace Gray -format "%[fx:mean] %[fx:standard_deviation]\n" info:)
  echo "screen: mean $mean, deviation $deviation"
  awk -v m="$mean" -v d="$deviation" 'BEGIN { exit !(m > 0.01 && d > 0.01) }' || fail "key: the screen shows no picture"
  kill -0 "$pid" 2>/dev/null || fail "key: ended before any input"
  xdotool key a
  ended || fail "key: still running after a key"
fi

# Ending on mouse moves is off by default, so moves past the grace time leave the run going; a
# click always ends it.
if start_saver mouse; then
  sleep 1.5
  xdotool mousemove 300 300
  sleep 0.3
  xdotool mousemove 700 500
  sleep 3
  kill -0 "$pid" 2>/dev/null || fail "mouse: ended on a move with ending on moves off"
  xdotool click 1
  ended || fail "mouse: still running after a click"
fi

finish
