#!/usr/bin/env bash
# The failed graphics check's dialog under Wine: Enter chooses the download button (1), Escape
# cancels (2).
#   directx_dialog.sh PROGRAM
set -euo pipefail
source "$(dirname "$0")/press_key.sh"

code=$(press_key '^Dialog$' Return "$1")
[ "$code" = 1 ] || fail "Enter gave $code"
code=$(press_key '^Dialog$' Escape "$1")
[ "$code" = 2 ] || fail "Escape gave $code"
echo "Enter: download, Escape: cancel"
