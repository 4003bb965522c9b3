#!/bin/sh
# Load and Save end to end through the real file chooser and X input: load a
# file, translate it, save it under a new name, and compare the saved bytes
# with the engine's result from process start.
# Usage: text_files.sh ZORKEL ENGINE_STEPS
. "$(dirname "$0")/lib.sh"
ZORKEL=$1
STEPS=$2
TITLE="Zorkel DeziVere0d v1.0 by Murkwin / Tolvag"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

hex() { od -An -tx1 -v | tr -d ' \n'; }

# choose_file TITLE NAME: types NAME into the file chooser titled TITLE, which
# starts in the program's folder.
choose_file() {
  chooser=$(wait_window "$1") || fail "no '$1' dialog"
  # Keys go to the window under the pointer; the chooser starts with its
  # file name field focused and selected, so typing replaces it.
  xdotool mousemove --window "$chooser" 5 5
  settle
  xdotool type --delay 20 "$2"
  xdotool key Return
  window_gone "$1" || fail "the '$1' dialog stayed open"
  settle
}

printf 'Line one\r\nline two, with caf\351\r\n' >"$work/in.txt"
APP_CWD=$work start_app "$ZORKEL" "$TITLE"

click_du 272 43 304 172  # Load file...
choose_file "Open" in.txt
click_du 272 63 304 172  # Translate !
click_du 272 84 304 172  # Save file...
choose_file "Save As" out.txt

[ -f "$work/out.txt" ] || fail "nothing was saved"
expected=$("$STEPS" "rh:$(hex <"$work/in.txt")")
got=$(hex <"$work/out.txt")
[ "$got" = "$expected" ] || fail "saved $got, expected $expected"
echo "ok - a loaded, translated and saved text is the engine's result"

click_du 272 103 304 172  # Quit
wait_exit "$APP_PID"
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS"
