#!/usr/bin/env bash
# The configuration dialog under Wine, driven by its keys: Escape leaves the registry as it was,
# Enter writes every value (read back with `wine reg query`). A stored value out of its range
# is shown and saved within it. Browse takes a file from the system's file dialog; cancelling that
# dialog keeps the path. Needs the X server and prefix of scripts/windows test.
#   config_dialog.sh SAVER /c
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
  # The saver's entry point answers 1 after a configuration run; a crash under Wine gives 5.
  [ "$code" = 1 ] || fail "the configuration run ended with $code"
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

# Browse (ten Tabs from the first enabled control, with the template's tab order), in the file
# dialog FILE and Enter (or Escape when FILE is empty), then OK from the path's edit box.
browse() {
  wine "${saver[@]}" </dev/null >/dev/null 2>&1 &
  local run=$!
  local window chooser
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1) || fail "no dialog"
  xdotool windowfocus --sync "$window"
  xdotool key --delay 100 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space
  chooser=$(timeout 60 xdotool search --sync --onlyvisible --name '^Open$' | head -n 1) || fail "no file dialog"
  xdotool windowfocus --sync "$chooser"
  if [ -n "$1" ]; then
    xdotool type --delay 50 "$1"
    xdotool key Return
  else
    xdotool key Escape
  fi
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Open$' >/dev/null || break
    sleep 0.1
  done
  xdotool windowfocus --sync "$window"
  xdotool key shift+Tab Return
  local code=0
  wait "$run" || code=$?
  [ "$code" = 1 ] || fail "the configuration run ended with $code"
}

saver=("$@")
browse 'C:\windows\win.ini'
[ "$(value PhotoPath)" = 'REG_SZ C:\windows\win.ini' ] || fail "after Browse PhotoPath is '$(value PhotoPath)'"
browse ''
[ "$(value PhotoPath)" = 'REG_SZ C:\windows\win.ini' ] || fail "a cancelled Browse changed PhotoPath to '$(value PhotoPath)'"
echo "Browse: the chosen file is saved, a cancelled choice keeps the path"
