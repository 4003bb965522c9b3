#!/bin/sh
# Runs a command with an X display: the one already set, or a private Xvfb
# started for the command and stopped after it.
set -eu
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
for n in $(seq 90 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true' EXIT INT TERM
i=0
until [ -e "/tmp/.X11-unix/X$n" ]; do
  i=$((i + 1))
  if [ $i -gt 100 ] || ! kill -0 $xvfb 2>/dev/null; then
    echo "with-display: Xvfb :$n did not start" >&2
    exit 1
  fi
  sleep 0.05
done
DISPLAY=":$n" "$@"
