# Shared steps of the end-to-end runs: start the program under the display
# the suite provides, find its window, press its controls through real X
# input, and read its text area through the clipboard.
#
# Positions are given in dialog units of the template and turned into pixels
# from the window's size, so the steps hold whatever the desktop's font.

set -eu

fail() {
  echo "FAIL: $*" >&2
  if [ -s "${app_home:-/nonexistent}/stderr" ]; then
    echo "The program's standard error:" >&2
    cat "$app_home/stderr" >&2
  fi
  exit 1
}

# ZORKEL_WRAPPER: a command the program is started under (`make valgrind`
# puts Valgrind there). The program is then many times slower, so every
# time limit below is SLOWDOWN times as long: ZORKEL_SLOWDOWN, or 20 under a
# wrapper and 1 without.
if [ -n "${ZORKEL_WRAPPER:-}" ]; then
  SLOWDOWN=${ZORKEL_SLOWDOWN:-20}
else
  SLOWDOWN=${ZORKEL_SLOWDOWN:-1}
fi

# start_app BINARY TITLE: starts the program with a fresh HOME (in folder
# APP_CWD when set) and sets APP_PID and WIN (the X window id of the window
# titled TITLE).
start_app() {
  app_home=$(mktemp -d)
  (
    cd "${APP_CWD:-.}" &&
      HOME=$app_home LC_ALL=C.UTF-8 exec ${ZORKEL_WRAPPER:-} "$1" \
        >"$app_home/stdout" 2>"$app_home/stderr"
  ) &
  APP_PID=$!
  WIN=$(wait_window "$2") || fail "no window titled '$2'"
  read_geometry
}

# wait_window TITLE: prints the id of the visible window with that title.
wait_window() {
  i=0
  while [ $i -lt $((300 * SLOWDOWN)) ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    i=$((i + 1))
    sleep 0.1
  done
  return 1
}

# window_gone TITLE: succeeds once no visible window has that title.
window_gone() {
  i=0
  while [ $i -lt $((50 * SLOWDOWN)) ]; do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    i=$((i + 1))
    sleep 0.1
  done
  return 1
}

read_geometry() {
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  WIN_W=$WIDTH
  WIN_H=$HEIGHT
}

# click_du X Y DIALOG_W DIALOG_H: clicks at dialog units X, Y of a template
# DIALOG_W by DIALOG_H units big, in window WIN.
click_du() {
  px=$(( $1 * WIN_W / $3 ))
  py=$(( $2 * WIN_H / $4 ))
  echo "# click at $1,$2 of $3x$4 units" >&2
  xdotool mousemove --window "$WIN" "$px" "$py" click 1
  settle
}

# until_equal EXPECTED COMMAND...: runs COMMAND (which prints a value) until
# it prints EXPECTED, at most 10 * SLOWDOWN times, and prints its last value.
# The program handles input in batches: a read sent right after a click may be
# answered before the click's command has run.
until_equal() {
  expected=$1
  shift
  tries=0
  while :; do
    value=$("$@")
    tries=$((tries + 1))
    if [ "$value" = "$expected" ] || [ $tries -ge $((10 * SLOWDOWN)) ]; then
      printf '%s\n' "$value"
      return 0
    fi
    sleep 0.3
  done
}

# settle: lets the program handle what was sent.
settle() {
  sleep 0.3
}

# read_clipboard: the clipboard's text (UTF-8), or "<none>".
read_clipboard() {
  xclip -o -selection clipboard 2>/dev/null || echo "<none>"
}

# to_utf8: Windows-1252 bytes on standard input to UTF-8.
to_utf8() {
  iconv -f WINDOWS-1252 -t UTF-8
}

# wait_exit PID: waits up to 5 s (times SLOWDOWN) for the program to end and
# sets EXIT_STATUS to its exit status ("killed" when it had to be stopped).
# Runs in the shell that started the program, so that it can reap it.
wait_exit() {
  (
    sleep $((5 * SLOWDOWN))
    kill -9 "$1" 2>/dev/null && echo "wait_exit: $1 did not end" >&2
  ) &
  watchdog=$!
  EXIT_STATUS=0
  wait "$1" || EXIT_STATUS=$?
  if kill "$watchdog" 2>/dev/null; then
    wait "$watchdog" 2>/dev/null || true
  else
    EXIT_STATUS=killed
  fi
}
