#!/bin/sh
# The installed zorkel under the suite's X display: its window opens with the
# X class the desktop entry names in StartupWMClass, and with the installed
# 32x32 icon as its _NET_WM_ICON, pixel for pixel.
# Usage: window.sh STAGE_DIR
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/lib.sh"
STAGE=$1
TITLE="Zorkel DeziVere0d v1.0 by Murkwin / Tolvag"
work=$(mktemp -d)
APP_PID=
trap '[ -z "$APP_PID" ] || kill "$APP_PID" 2>/dev/null; rm -rf "$work"' EXIT

# As tests/e2e/lib.sh's start_app, saying what the program printed if no
# window comes.
mkdir "$work/home"
HOME=$work/home LC_ALL=C.UTF-8 "$STAGE/usr/bin/zorkel" >"$work/output" 2>&1 &
APP_PID=$!
if ! WIN=$(wait_window "$TITLE"); then
  state=ended
  kill -0 "$APP_PID" 2>/dev/null && state="still runs"
  fail "no window titled '$TITLE' on $DISPLAY; zorkel $state, printed: $(cat "$work/output")"
fi
ok "the installed zorkel shows its window"

# WM_CLASS is the instance name, then the class name.
class=$(xprop -id "$WIN" WM_CLASS) || fail "no WM_CLASS on the window"
wmclass=$(sed -n 's/^StartupWMClass=//p' "$STAGE/usr/share/applications/$APP_ID.desktop")
case $class in
  "WM_CLASS(STRING) = \"$wmclass\", "*) ;;
  *) fail "the window's $class does not match StartupWMClass=$wmclass" ;;
esac
ok "the window's X class name is the entry's StartupWMClass: $class"

# _NET_WM_ICON: width, height, then one ARGB value a pixel.
xprop -id "$WIN" -notype 32c _NET_WM_ICON >"$work/property" ||
  fail "no _NET_WM_ICON on the window"
sed 's/^[^=]*= *//' "$work/property" | tr ',' '\n' | tr -d ' ' >"$work/values"
[ "$(sed -n 1,2p "$work/values" | tr '\n' x)" = 32x32x ] ||
  fail "_NET_WM_ICON is not a 32x32 picture: $(head -c 80 "$work/property")"
sed -n '3,1026p' "$work/values" | awk '{
    v = $1 + 0
    a = int(v / 16777216); r = int(v / 65536) % 256
    g = int(v / 256) % 256; b = v % 256
    if (a == 0) print "00000000"; else printf "%02x%02x%02x%02x\n", r, g, b, a
  }' >"$work/window-icon"
pixels "$STAGE/usr/share/icons/hicolor/32x32/apps/$APP_ID.png" >"$work/installed-icon"
cmp -s "$work/window-icon" "$work/installed-icon" ||
  fail "the window's icon differs from the installed 32x32 icon"
ok "the window's _NET_WM_ICON is the installed 32x32 icon, pixel for pixel"
