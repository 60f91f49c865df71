#!/usr/bin/env bash
# quelmont.scr --record under Wine: one simulated second at 30 frames a second gives 30 frames of
# the room (not a flat colour), the trace beside them, and no sound file.
#   record.sh SAVER.scr WORKDIR
set -u
saver=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
wine "$saver" --record "Z:${out//\//\\}" --seconds 1 --size 160x120 --seed 5 --time 10:10:00 | tr -d '\r' || exit 1
frames=$(ls "$out"/frame-*.png 2>/dev/null | wc -l)
[ "$frames" -eq 30 ] || { echo "FAIL: $frames frames"; exit 1; }
[ -s "$out/trace.log" ] || { echo "FAIL: no trace"; exit 1; }
[ ! -e "$out/sound.wav" ] || { echo "FAIL: a sound file"; exit 1; }
read -r mean deviation < <(convert "$out/frame-00029.png" -colorspace Gray -format "%[fx:mean] %[fx:standard_deviation]\n" info:)
echo "last frame: mean $mean, deviation $deviation"
awk -v m="$mean" -v d="$deviation" 'BEGIN { exit !(m > 0.1 && d > 0.03) }' || { echo "FAIL: a flat frame"; exit 1; }
echo PASS
