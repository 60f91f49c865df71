#!/usr/bin/env bash
# A recording under Wine follows the same storm as the same recording made by the Linux build:
# eight simulated seconds hold a flash whose strength depends on the thunder drawn before it, so
# a Windows recording that skipped the sound's draws would part from the Linux one there.
#   matches-linux.sh SAVER.scr LINUX_QUELMONT PNGDIFF WORKDIR
set -u
saver=$1
linux=$2
pngdiff=$3
out=$4
rm -rf "$out"
mkdir -p "$out/windows" "$out/linux"
arguments=(--seconds 8 --fps 10 --size 96x72 --seed 5 --time 10:10:00)
wine "$saver" --record "Z:${out//\//\\}\\windows" "${arguments[@]}" | tr -d '\r' || exit 1
SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null ASAN_OPTIONS=detect_leaks=0 \
  "$linux" --record "$out/linux" "${arguments[@]}" || exit 1
pairs=()
for frame in "$out"/linux/frame-*.png; do
  name=$(basename "$frame" .png)
  [ -f "$out/windows/$name.png" ] || { echo "FAIL: no $name under Wine"; exit 1; }
  pairs+=("$name=$frame,$out/windows/$name.png")
done
[ ${#pairs[@]} -eq 80 ] || { echo "FAIL: ${#pairs[@]} frames"; exit 1; }
python3 "$pngdiff" --limits 1.5,0.5 "${pairs[@]}" >"$out/diff.txt" || { grep -v "^frame" "$out/diff.txt"; exit 1; }
echo PASS
