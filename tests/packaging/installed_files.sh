#!/bin/sh
# The staged installation file by file: exactly the expected files with their
# modes, nothing outside /usr and nothing in /usr/local, programs that run
# from where they are installed, and compressed files as Debian wants them.
# Usage: installed_files.sh STAGE_DIR VERSION
. "$(dirname "$0")/lib.sh"
STAGE=$1
VERSION=$2
EXPECTED=$(dirname "$0")/installed-files.txt
export LC_ALL=C

expected=$(grep -v '^#' "$EXPECTED" | sort -k2)
actual=$(cd "$STAGE" && find . ! -type d -printf '%m %P\n' | sort -k2)
if [ "$actual" != "$expected" ]; then
  printf '%s\n' "$expected" >"$STAGE.expected"
  printf '%s\n' "$actual" >"$STAGE.actual"
  diff -u "$STAGE.expected" "$STAGE.actual" >&2 || true
  fail "the installed files (path and mode) are not the expected ones"
fi
ok "exactly the $(printf '%s\n' "$expected" | wc -l) expected files, with their modes"

wrong_dirs=$(cd "$STAGE" && find . -type d ! -perm 755 -printf '%m %P\n')
[ -z "$wrong_dirs" ] || fail "folders not 755: $wrong_dirs"
ok "every folder is 755"

# Everything lives under usr/, and nothing in usr/local.
[ "$(ls -A "$STAGE")" = usr ] || fail "top level of the stage: $(ls -A "$STAGE")"
[ ! -e "$STAGE/usr/local" ] || fail "files in usr/local"
ok "everything under /usr, nothing in /usr/local"

# The binaries carry no search path, into the build tree or elsewhere.
for prog in zorkel zorkel-cli; do
  if readelf -d "$STAGE/usr/bin/$prog" | grep -E 'RPATH|RUNPATH' >&2; then
    fail "$prog carries a library search path"
  fi
done
ok "no RPATH or RUNPATH in the installed programs"

# The programs start from where they are installed.
got=$("$STAGE/usr/bin/zorkel-cli" --version)
[ "$got" = "zorkel-cli $VERSION" ] || fail "zorkel-cli --version says '$got'"
got=$(printf 'leet' | "$STAGE/usr/bin/zorkel-cli" --no-hard --no-rand | tr 'LET' 'let')
[ "$got" = leet ] || fail "zorkel-cli rewrote 'leet' as '$got'"
ok "the installed zorkel-cli runs: version $VERSION"
status=0
err=$(env -u DISPLAY "$STAGE/usr/bin/zorkel" 2>&1 >/dev/null) || status=$?
[ "$status" -eq 1 ] || fail "zorkel without a display: exit status $status"
case $err in
  *display*) ;;
  *) fail "zorkel without a display says: $err" ;;
esac
ok "the installed zorkel runs and asks for a display when none is set"

for page in zorkel.1.gz zorkel-cli.1.gz; do
  gzip_is_reproducible "$STAGE/usr/share/man/man1/$page" ||
    fail "$page is not gzip -9n data"
done
ok "the manual pages are compressed with gzip -9n"

copyright=$STAGE/usr/share/doc/zorkel/copyright
grep -qx 'Copyright: 2026 The Zorkel developers' "$copyright" ||
  fail "the copyright file names no copyright holder"
grep -qx 'License: MIT' "$copyright" || fail "the copyright file names no licence"
grep -q 'Permission is hereby granted' "$copyright" ||
  fail "the copyright file lacks the licence text"
ok "the copyright file holds the notice and the licence"
