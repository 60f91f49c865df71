#!/usr/bin/env bash
# Plays the clock's ticks under Wine into a PulseAudio null sink of a private sound server and
# records its monitor: ticks placed to the listener's right must come out louder on the right,
# and to the left on the left.
#   null_sink.sh TEST_PROGRAM MEDIA_FOLDER
set -euo pipefail
program=$1
media=$2
if ! command -v pulseaudio >/dev/null || ! command -v pacat >/dev/null; then
  echo "pulseaudio and pacat are needed (scripts/deps test-windows)"
  [ "${QUELMONT_ALLOW_SKIP:-}" = 1 ] && exit 77
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/quelmont-sink.XXXXXX")
# A server of our own, whatever else runs on the machine: its own runtime folder and home.
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home" PULSE_RUNTIME_PATH="$work/run/pulse"
export PULSE_STATE_PATH="$work/state"
unset PULSE_SERVER
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
cleanup() {
  [ -n "${recorder:-}" ] && kill "$recorder" 2>/dev/null || true
  pulseaudio --kill 2>/dev/null || true
  # The server writes its state while it ends.
  for _ in 1 2 3 4 5 6 7 8 9 10; do pulseaudio --check 2>/dev/null || break; sleep 0.2; done
  rm -rf "$work" 2>/dev/null || true
}
trap cleanup EXIT
pulseaudio --start --exit-idle-time=-1 --disallow-exit --log-target=stderr 2>"$work/pulse.log" ||
  { cat "$work/pulse.log"; exit 1; }
pactl load-module module-null-sink sink_name=quelmont_sink >/dev/null
pactl set-default-sink quelmont_sink

play() {  # play X OUT.raw
  pacat --record -d quelmont_sink.monitor --format=s16le --rate=44100 --channels=2 --raw >"$2" &
  recorder=$!
  sleep 0.3
  status=0
  QUELMONT_NULL_SINK="Z:$media" QUELMONT_TICK_X=$1 QUELMONT_PLAY_MS=2500 \
    wine "$program" --gtest_filter='NullSink.*' >"$work/run.log" 2>&1 || status=$?
  tr -d '\r' <"$work/run.log" | grep -E "OK \]|FAILED|SKIPPED|Failure|Expected|Which|actual" || true
  sleep 0.3
  kill "$recorder"
  wait "$recorder" 2>/dev/null || true
  recorder=
  [ "$status" -eq 0 ] || { echo "FAILED: the player ended with $status"; exit 1; }
}
play 20 "$work/right.raw"
play -20 "$work/left.raw"

python3 - "$work/right.raw" "$work/left.raw" <<'PY'
import array, math, sys
def levels(path):
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read())
    left, right = samples[0::2], samples[1::2]
    rms = lambda s: math.sqrt(sum(v * v for v in s) / max(1, len(s)))
    return rms(left), rms(right), len(left) / 44100
ok = True
for name, path, louder in (("right", sys.argv[1], 1), ("left", sys.argv[2], 0)):
    l, r = levels(path)[:2]
    seconds = levels(path)[2]
    print(f"ticks on the {name}: {seconds:.1f} s recorded, RMS left {l:.1f}, right {r:.1f}")
    near, far = (r, l) if louder else (l, r)
    if near < 20 or near < 2 * far:
        print(f"FAILED: the ticks on the {name} are not clearly louder there")
        ok = False
sys.exit(0 if ok else 1)
PY
