#!/bin/sh
# Makes the Debian package of a build with CPack into a fresh folder and
# checks it with check_deb.sh. `make deb` does the same from a Release
# build; this runs on the suite's own build, which takes seconds.
# Usage: deb_from_build.sh CPACK BUILD_DIR OUT_DIR
set -eu
cpack=$1
build=$2
out=$3
rm -rf "$out"
umask 022
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out.log" 2>&1 || {
  cat "$out.log" >&2
  echo "FAIL: cpack could not make the package" >&2
  exit 1
}
set -- "$out"/zorkel_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || { echo "FAIL: cpack made no single zorkel_*.deb in $out" >&2; exit 1; }
exec "$(dirname "$0")/check_deb.sh" "$1"
