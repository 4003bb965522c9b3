#!/bin/sh
# Runs a command with an X display: the one already set, or a private Xvfb
# started for the command and stopped after it. Xvfb picks a free display
# number itself (-displayfd), so runs started together never share one, and
# it never resets (-noreset): a reset between two programs refuses the second.
set -eu
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
numbers=$(mktemp)
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$numbers" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null || true; rm -f "$numbers"' EXIT INT TERM
i=0
until [ -s "$numbers" ]; do
  i=$((i + 1))
  if [ $i -gt 200 ] || ! kill -0 $xvfb 2>/dev/null; then
    echo "with-display: Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.05
done
DISPLAY=":$(head -n 1 "$numbers")" "$@"
