# Sourced by the dialog key tests: press_key TITLE KEY PROGRAM... runs PROGRAM under Wine, waits
# for its visible window named TITLE (a regular expression), presses KEY there, waits for the
# program to end and prints its exit code. Fails when the window does not appear or stays open.
fail() { echo "FAIL: $*" >&2; exit 1; }

press_key() {
  local title=$1 key=$2
  shift 2
  wine "$@" </dev/null >/dev/null 2>&1 &
  local program=$!
  local window
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -n 1) ||
    { kill "$program" 2>/dev/null; fail "$title did not appear"; }
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers "$key"
  for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$program" 2>/dev/null; then
    kill "$program"
    fail "$key did not end $title"
  fi
  local code=0
  wait "$program" || code=$?
  echo "$code"
}
