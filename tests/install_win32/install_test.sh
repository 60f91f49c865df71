#!/usr/bin/env bash
# Makes the installer and the zip, installs silently under Wine (the prefix of the test run),
# checks the saver where the Screen Saver settings look and the entry among the installed
# programs, then uninstalls silently and checks that nothing is left: files, entry, the saver's
# settings and its place as the chosen saver.
#   install_test.sh MAKE_PACKAGES SCR VERSION OUTDIR
set -euo pipefail
make_packages=$1
scr=$2
version=$3
out=$4
fail() { echo "installer test FAILED: $*" >&2; exit 1; }
step() { echo "installer test: $*"; }
command -v makensis >/dev/null || fail "makensis is missing (scripts/deps test-windows)"

"$make_packages" "$scr" "$version" "$out" >/dev/null
setup="$out/quelmont-$version-setup.exe"
zip="$out/quelmont-$version-windows.zip"
[ -s "$setup" ] || fail "no $setup"
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listed" = "README.txt quelmont.scr " ] || fail "the zip holds: $listed"
unzip -p "$zip" quelmont.scr | cmp -s - "$scr" || fail "the zip's saver is not the built one"
step "zip holds the saver and README.txt"

c="$WINEPREFIX/drive_c"
system="$c/windows/system32/quelmont.scr"
folder="$c/Program Files/Quelmont"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelmont'
settings_key='HKCU\Software\KORVANE Studio\Quelmont'
query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
exists() { wine reg query "$@" >/dev/null 2>&1; }
# Waits up to 60 s for a condition (the uninstaller runs on from a copy after it returns).
wait_for() {
  for _ in $(seq 120); do "$@" && return 0; sleep 0.5; done
  return 1
}

wine "$setup" /S || fail "the installer ended with $?"
wait_for test -f "$system" || fail "no saver in system32"
cmp -s "$system" "$scr" || fail "the installed saver is not the built one"
[ -f "$folder/uninstall.exe" ] && [ -f "$folder/README.txt" ] || fail "uninstaller or README missing"
entry=$(query "$uninstall_key")
for value in "DisplayName    REG_SZ    Quelmont screensaver" "DisplayVersion    REG_SZ    $version" \
  "UninstallString    REG_SZ    \"C:\\Program Files\\Quelmont\\uninstall.exe\""; do
  grep -qF "$value" <<<"$entry" || fail "the installed programs' entry lacks '$value': $entry"
done
step "installed: system32\\quelmont.scr, the uninstaller, the installed programs' entry"

# What a user's time with the saver leaves: its settings, and it as the chosen saver.
wine reg add "$settings_key" /v Volume /t REG_DWORD /d 80 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /t REG_SZ /d 'C:\windows\system32\quelmont.scr' /f \
  >/dev/null 2>&1
exists "$settings_key" || fail "could not write the settings for the test"

wine "$folder/uninstall.exe" /S || fail "the uninstaller ended with $?"
gone() { [ ! -e "$system" ] && [ ! -e "$folder" ] && ! exists "$uninstall_key"; }
wait_for gone || fail "left behind: $(ls "$system" "$folder" 2>&1 | tr '\n' ' ') $(query "$uninstall_key")"
! exists "$settings_key" || fail "the settings are left"
! exists 'HKCU\Software\KORVANE Studio' || fail "the maker's empty key is left"
! query 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE | grep -q quelmont || fail "still the chosen saver"
step "uninstalled: no file, no entry, no settings, not the chosen saver"
