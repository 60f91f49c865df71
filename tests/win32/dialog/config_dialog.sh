#!/usr/bin/env bash
# The configuration dialog under Wine, driven by its keys: Escape leaves the registry as it was,
# Enter writes every value (read back with `wine reg query`). A stored value out of its range
# is shown and saved within it. Needs the X server and prefix of scripts/windows test.
#   config_dialog.sh PROGRAM [ARGUMENTS...]   (a configuration run of the saver)
set -euo pipefail
key='HKCU\Software\KORVANE Studio\Quelmont'
title='Quelmont Screensaver Configuration'

source "$(dirname "$0")/press_key.sh"

# Value NAME's data as `reg query` prints it ("REG_DWORD 0x32"), or nothing when it is missing.
value() {
  wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; sub(/^ +/, ""); print }'
}

# Runs the dialog, presses KEY; the run must end well.
run_dialog() {
  local code
  code=$(press_key "^$title\$" "$@")
  [ "$code" = 0 ] || fail "the configuration run failed with $code"
}

wine reg delete "$key" /f >/dev/null 2>&1 || true
wine reg add "$key" /v Volume /t REG_DWORD /d 7 /f >/dev/null
wine reg add "$key" /v Gamma /t REG_DWORD /d 500 /f >/dev/null

run_dialog Escape "$@"
[ "$(value Volume)" = "REG_DWORD 0x7" ] || fail "Escape changed Volume: $(value Volume)"
[ "$(value Gamma)" = "REG_DWORD 0x1f4" ] || fail "Escape changed Gamma: $(value Gamma)"
[ -z "$(value Music)" ] || fail "Escape wrote Music"
[ -z "$(value PhotoPath)" ] || fail "Escape wrote PhotoPath"
echo "Escape: nothing written"

run_dialog Return "$@"
# The stored volume, the gamma limited to its range, the defaults for the rest.
expected=(UseDesktop 0x1 ShowFps 0x0 Adapter 0x0 Gamma 0x64 Volume 0x7 Music 0x1 Sound 0x1
          ExitOnMM 0x0 ShowTime 0x1 TimeStyle 0x1)
for ((i = 0; i < ${#expected[@]}; i += 2)); do
  name=${expected[i]}
  [ "$(value "$name")" = "REG_DWORD ${expected[i + 1]}" ] || fail "after Enter $name is '$(value "$name")'"
done
# The mode is the list's selection: whatever it is, the three values are written as DWORDs.
for name in Width Height Depth; do
  [[ "$(value "$name")" == "REG_DWORD 0x"* ]] || fail "after Enter $name is '$(value "$name")'"
done
[ "$(value PhotoPath)" = "REG_SZ" ] || fail "after Enter PhotoPath is '$(value PhotoPath)'"
echo "Enter: every value written"
