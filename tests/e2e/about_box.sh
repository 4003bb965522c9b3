#!/bin/sh
# The About box end to end, through real X input: "About..." opens it over a
# main window that takes no input meanwhile; OK, Enter, Escape and the close
# request each close it; its credits copy out whole and no key, paste or drag
# changes them; the main window's text, check boxes and random sequence come
# through untouched, and the keyboard is back on "About..." after.
# Usage: about_box.sh ZORKEL ENGINE_STEPS CLOSE_REQUEST
. "$(dirname "$0")/lib.sh"
ZORKEL=$1
STEPS=$2
CLOSE=$3
TITLE="Zorkel DeziVere0d v1.0 by Murkwin / Tolvag"
ABOUT="About..."

hex() { od -An -tx1 -v | tr -d ' \n'; }

# The credits as the clipboard gives them: UTF-8, each CR LF as a newline.
CREDITS=$(printf '\302\251 1998 Murkwin / Tolvag - all rights reserved \n'\
'-> C0d3d by Murkwin on c0ld coffee at 4am \n'\
'-> Dedicated to all l33t typists out there \n'\
' \n'\
'For any other information, you can contact me : \n'\
' murkwin@example.org - http://www.example.org/~tolvag/ \n' | hex)

# use_window ID: the window click_du works in.
use_window() {
  WIN=$1
  read_geometry
}

# main_text_hex: the main window's text in Windows-1252, as hex.
main_text_hex() {
  use_window "$MAIN"
  printf '<empty>' | xclip -selection clipboard >/dev/null 2>&1
  click_du 121 83 304 172
  xdotool key ctrl+a ctrl+c
  settle
  read_clipboard | iconv -f UTF-8 -t WINDOWS-1252 | hex
}

# credits_hex: what select all and copy take out of the credits, as hex.
credits_hex() {
  printf '<empty>' | xclip -selection clipboard >/dev/null 2>&1
  click_du 90 60 179 119
  xdotool key ctrl+a ctrl+c
  settle
  read_clipboard | hex
}

# open_about: presses "About..." and makes the box the window to work in.
open_about() {
  use_window "$MAIN"
  click_du 272 124 304 172
  BOX=$(wait_window "$ABOUT") || fail "\"About...\" did not open the box"
  use_window "$BOX"
}

# drag_du X1 Y1 X2 Y2: presses the left button at dialog units X1 Y1 of the
# box and lets go at X2 Y2.
drag_du() {
  xdotool mousemove --window "$WIN" $(($1 * WIN_W / 179)) $(($2 * WIN_H / 119)) \
    mousedown 1 sleep 0.2 \
    mousemove --window "$WIN" $(($1 * WIN_W / 179 + 8)) $(($2 * WIN_H / 119 + 4)) \
    sleep 0.2 \
    mousemove --window "$WIN" $(($3 * WIN_W / 179)) $(($4 * WIN_H / 119)) \
    sleep 0.2 mouseup 1
  settle
}

# try_edit HOW: one attempt at changing the credits, the caret in line 2.
try_edit() {
  click_du 90 45 179 119
  case $1 in
    typing) xdotool type --delay 30 'zap' ;;
    Delete) xdotool key ctrl+a Delete ;;
    BackSpace) xdotool key ctrl+a BackSpace ;;
    Ctrl+X) xdotool key ctrl+a ctrl+x ;;
    Shift+Delete) xdotool key ctrl+a shift+Delete ;;
    Ctrl+V)
      printf 'PASTED' | xclip -selection clipboard
      xdotool key ctrl+v
      ;;
    Shift+Insert)
      printf 'PASTED' | xclip -selection clipboard
      xdotool key shift+Insert
      ;;
    "middle click")
      printf 'PASTED' | xclip -selection primary
      click_du 90 45 179 119
      xdotool click 2
      ;;
    "dragging a word")
      # Double-click a word of line 1, then drag it down to line 5.
      xdotool mousemove --window "$WIN" $((40 * WIN_W / 179)) \
        $((40 * WIN_H / 119)) click --repeat 2 --delay 80 1
      settle
      drag_du 40 40 60 72
      ;;
    *) fail "try_edit: unknown attempt '$1'" ;;
  esac
  settle
}

# close_about HOW: closes the open box one way.
close_about() {
  case $1 in
    OK) click_du 88 105 179 119 ;;
    Enter) xdotool key Return ;;
    "Enter in the credits")
      click_du 90 60 179 119
      xdotool key Return
      ;;
    Escape) xdotool key Escape ;;
    "Escape in the credits")
      click_du 90 60 179 119
      xdotool key Escape
      ;;
    "close request") "$CLOSE" "$BOX" ;;
    *) fail "close_about: unknown way '$1'" ;;
  esac
  window_gone "$ABOUT" || fail "$1 left the About box open"
  kill -0 "$APP_PID" 2>/dev/null || fail "$1 ended the program"
  wait_window "$TITLE" >/dev/null || fail "$1 closed the main window"
  echo "ok - $1 closes the About box"
}

start_app "$ZORKEL" "$TITLE"
MAIN=$WIN

# Text, and both check boxes as they start (checked), before the box opens.
click_du 121 83 304 172
xdotool type --delay 30 'hello world'
settle
hello=$(printf 'hello world' | hex)

open_about
echo "ok - \"About...\" opens the About box"

# The main window takes no input while the box is open: Translate, Clear,
# both check boxes and "About..." itself.
use_window "$MAIN"
for du in "272 63" "121 163" "269 12" "269 27" "272 124"; do
  click_du $du 304 172
done
boxes=$(xdotool search --onlyvisible --name "^$ABOUT\$" | wc -l)
[ "$boxes" = 1 ] || fail "$boxes About boxes are open"
use_window "$BOX"

got=$(credits_hex)
[ "$got" = "$CREDITS" ] || fail "the credits copy out as $got, expected $CREDITS"
echo "ok - the credits copy out whole"

for how in typing Delete BackSpace Ctrl+X Shift+Delete Ctrl+V Shift+Insert \
  "middle click" "dragging a word"; do
  try_edit "$how"
  wait_window "$ABOUT" >/dev/null || fail "$how closed the About box"
  got=$(credits_hex)
  [ "$got" = "$CREDITS" ] || fail "$how changed the credits to $got"
  echo "ok - $how leaves the credits as they are"
done
close_about OK

for way in Enter "Enter in the credits" Escape "Escape in the credits" \
  "close request"; do
  open_about
  close_about "$way"
done

# The focus went back to "About..." as the box closed: space opens it again.
xdotool key space
BOX=$(wait_window "$ABOUT") || fail "space after the box closed did not open it"
echo "ok - the keyboard is back on \"About...\" once the box closes"
use_window "$BOX"
close_about Escape

# The main window as it was: its text, then Translate from process start.
got=$(until_equal "$hello" main_text_hex)
[ "$got" = "$hello" ] || fail "the text became $got, expected $hello"
echo "ok - the main window's text is untouched"
use_window "$MAIN"
click_du 272 63 304 172
expected=$("$STEPS" "rh:$hello")
got=$(until_equal "$expected" main_text_hex)
[ "$got" = "$expected" ] || fail "Translate gave $got, expected $expected"
echo "ok - the check boxes and the random sequence are untouched"

click_du 272 103 304 172
wait_exit "$APP_PID"
[ "$EXIT_STATUS" = 0 ] || fail "Quit after the About box: exit status $EXIT_STATUS"
echo "ok - Quit still ends the program with 0"
