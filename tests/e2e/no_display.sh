#!/bin/sh
# Without an X display the program says so in one line and exits non-zero.
# Usage: no_display.sh ZORKEL
set -u
# Under `make valgrind` the program runs under ZORKEL_WRAPPER (Valgrind,
# quiet): anything it reports makes the message longer than one line.
err=$(env -u DISPLAY ${ZORKEL_WRAPPER:-} "$1" 2>&1 >/dev/null)
status=$?
[ "$status" -ne 0 ] || { echo "FAIL: exit status 0 without a display"; exit 1; }
[ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || { echo "FAIL: message: $err"; exit 1; }
case $err in
  *display*) echo "ok - $err" ;;
  *) echo "FAIL: message does not name the display: $err"; exit 1 ;;
esac
