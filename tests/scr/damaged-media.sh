#!/usr/bin/env bash
# quelmont.scr --record under Wine on a damaged install: one file of each kind damaged in the
# "Media" folder that overrides the archive. The saver must run (its trace closed) or end with its
# start-up failure (a damaged interface font), never crash or hang; with the Linux build at hand it must end as that one does
# and trace the same loading steps.
#   damaged-media.sh SAVER.scr MEDIA_TREE WORKDIR [LINUX_QUELMONT]
set -u
saver=$1
tree=$2
work=$3
linux=${4:-}
rm -rf "$work"
mkdir -p "$work"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

damage() {
  case $2 in
    empty) : >"$1" ;;
    half) truncate -s $(($(stat -c %s "$1") / 2)) "$1" ;;
    # Spread over the whole file, headers included; fixed, so a failure repeats.
    garbled) python3 -c '
import sys
data = bytearray(open(sys.argv[1], "rb").read())
for i in range(len(data)):
    if (i * 2654435761) % 13 == 0: data[i] ^= 0xA5
open(sys.argv[1], "wb").write(data)' "$1" ;;
  esac
}

# The loading steps a trace shows (to its end when start-up failed), after the lines that name
# the platform's device.
loading_steps() {
  tr -d '\r' <"$1" | sed -n '/^Application created/,/^Creating successfull/p'
}

# Runs one program in DIR (the Media folder's parent) and prints its exit code; a hang is 124.
record() {
  local dir=$1 out=$2
  shift 2
  (cd "$dir" && timeout 60 "$@" --record "$out" --seconds 2 --size 64x48 --fps 4 >/dev/null 2>&1)
  echo $?
}

# Each copy goes by the name the saver asks for: Linux finds a loose file only by its exact name.
while read -r file copy kind; do
  name="$copy-$kind"
  dir="$work/$name"
  mkdir -p "$dir/Media"
  cp "$tree/$file" "$dir/Media/$copy"
  damage "$dir/Media/$copy" "$kind"
  out="$dir/wine"
  code=$(record "$dir" "Z:${out//\//\\}" wine "$saver")
  echo "damaged media: $name -> $code"
  case $code in
    0 | 1) ;;
    124) fail "$name: hung" ;;
    *) fail "$name: crashed (exit $code)" ;;
  esac
  # A run that got past start-up closed its trace.
  if grep -q "Creating successfull" "$out/trace.log" 2>/dev/null && ! grep -q "<<Log closed" "$out/trace.log"; then
    fail "$name: ran without closing its trace"
  fi
  [ -n "$linux" ] || continue
  linux_code=$(ASAN_OPTIONS=detect_leaks=0 SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null record "$dir" "$dir/linux" "$linux")
  [ "$code" = "$linux_code" ] || fail "$name: exit $code under Wine, $linux_code on Linux"
  if ! diff <(loading_steps "$dir/linux/trace.log") <(loading_steps "$out/trace.log"); then
    fail "$name: loading traced differently from Linux"
  fi
done <<'CASES'
clock.UDF clock.udf garbled
Clouds.png Clouds.png half
ClockTicks.ogg ClockTicks.ogg empty
sylfaen.fs sylfaen.fs empty
CASES

[ "$failures" -eq 0 ] && echo PASS
exit "$failures"
