#!/bin/sh
# Writes a PNG of the main window with a translated sample text.
# Usage: screenshot.sh ZORKEL OUT.png
. "$(dirname "$0")/lib.sh"
start_app "$1" "Zorkel DeziVere0d v1.0 by Murkwin / Tolvag"
click_du 121 83 304 172
xdotool type --delay 10 'Hello world, this is Zorkel.'
xdotool key Return
xdotool type --delay 10 'Leet writing since 1998!'
settle
click_du 272 63 304 172
xdotool mousemove --window "$WIN" 0 0
settle
mkdir -p "$(dirname "$2")"
import -window "$WIN" "$2"
click_du 272 103 304 172
wait_exit "$APP_PID"
echo "wrote $2"
