#!/bin/sh
# The main window end to end, through real X input: Translate from process
# start, a second press, Clear, the check boxes, the keyboard, Escape, the
# close request and Quit.
# Usage: main_window.sh ZORKEL ENGINE_STEPS CLOSE_REQUEST
. "$(dirname "$0")/lib.sh"
ZORKEL=$1
STEPS=$2
CLOSE=$3
TITLE="Zorkel DeziVere0d v1.0 by Murkwin / Tolvag"

hex() { od -An -tx1 -v | tr -d ' \n'; }
# text_hex: the text area's bytes in Windows-1252, as hex ("<empty>" when
# nothing can be selected).
text_hex() {
  printf '<empty>' | xclip -selection clipboard >/dev/null 2>&1
  click_du 121 83 304 172
  xdotool key ctrl+a ctrl+c
  settle
  got=$(read_clipboard)
  if [ "$got" = "<empty>" ]; then
    echo "<empty>"
  else
    printf '%s' "$got" | iconv -f UTF-8 -t WINDOWS-1252 | hex
  fi
}
expect_text() {
  got=$(until_equal "$1" text_hex)
  [ "$got" = "$1" ] || fail "$2: text area holds $got, expected $1"
  echo "ok - $2"
}

start_app "$ZORKEL" "$TITLE"

# Type into the empty text area and translate: both boxes are checked at start.
click_du 121 83 304 172
xdotool type --delay 30 'hello world'
settle
click_du 272 63 304 172
hello=$(printf 'hello world' | hex)
set -- $("$STEPS" "rh:$hello")
expect_text "$1" "first Translate gives the result from process start"
first=$1

# A second press works on the first result and continues the sequence.
click_du 272 63 304 172
set -- $("$STEPS" "rh:$hello" "rh:$first")
expect_text "$2" "second Translate continues the sequence"
second=$2

# Clear empties the text area; Translate on it draws nothing.
click_du 121 163 304 172
expect_text "<empty>" "Clear empties the text area"
click_du 272 63 304 172

# Untick Rand mode only: Hard mode alone stays on.
click_du 269 12 304 172
click_du 121 83 304 172
xdotool type --delay 30 'abc'
settle
click_du 272 63 304 172
abc=$(printf 'abc' | hex)
set -- $("$STEPS" "rh:$hello" "rh:$first" "h:$abc")
expect_text "$3" "a Rand mode click changes only that box"
third=$3

# The keyboard: Tab from the text area reaches Rand mode, space ticks it
# again, and Enter outside the text area presses "Translate !".
click_du 121 83 304 172
xdotool key Tab space Return
settle
set -- $("$STEPS" "rh:$hello" "rh:$first" "h:$abc" "rh:$third")
expect_text "$4" "Tab, space and Enter press the controls"

# Escape never closes the main window.
xdotool key Escape
settle
kill -0 "$APP_PID" 2>/dev/null || fail "Escape ended the program"
wait_window "$TITLE" >/dev/null || fail "Escape closed the main window"
echo "ok - Escape leaves the main window open"

# The close request ends the program like Quit, with exit code 0.
"$CLOSE" "$WIN"
wait_exit "$APP_PID"
[ "$EXIT_STATUS" = 0 ] || fail "close request: exit status $EXIT_STATUS"
echo "ok - the close request ends the program with 0"

# Quit ends it with 0 too.
start_app "$ZORKEL" "$TITLE"
click_du 272 103 304 172
wait_exit "$APP_PID"
[ "$EXIT_STATUS" = 0 ] || fail "Quit: exit status $EXIT_STATUS"
echo "ok - Quit ends the program with 0"
