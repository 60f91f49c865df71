# Sourced by the scripts that drive quelmont.scr /s under Wine: they set $saver and $work.

failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Starts the saver with /s with the pointer at (100, 100) and returns as soon as loading has
# finished (the grace second for mouse moves starts there); sets $pid and $trace.
start_saver() {
  trace="$work/$1.log"
  rm -f "$trace"
  xdotool mousemove 100 100
  QUELMONT_TRACE="Z:${trace//\//\\}" wine "$saver" /s >"$work/$1.out" 2>&1 &
  pid=$!
  for _ in $(seq 1 1200); do
    grep -q "Creating successfull" "$trace" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  fail "$1: loading did not finish"
  kill "$pid" 2>/dev/null
  return 1
}

# True when the saver has ended within 15 s, with its trace closed.
ended() {
  for _ in $(seq 1 75); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    return 1
  fi
  grep -q "Log closed" "$trace"
}

finish() {
  [ "$failures" -eq 0 ] && echo PASS
  exit "$failures"
}
