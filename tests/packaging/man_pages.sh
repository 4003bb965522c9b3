#!/bin/sh
# The installed manual pages: man renders them without a warning, whatis
# finds their NAME lines, zorkel-cli(1) documents exactly the options of
# `zorkel-cli --help`, and its examples give the output they show.
# Usage: man_pages.sh STAGE_DIR VERSION
. "$(dirname "$0")/lib.sh"
STAGE=$1
VERSION=$2
MAN1=$STAGE/usr/share/man/man1
CLI=$STAGE/usr/bin/zorkel-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 MANWIDTH=80 MANROFFSEQ=

for name in zorkel zorkel-cli; do
  page=$MAN1/$name.1.gz
  # As lintian checks a page, and as a reader sees it.
  man --warnings -E UTF-8 -l -Tutf8 -Z "$page" >/dev/null 2>"$work/warnings" ||
    fail "man could not render $name.1"
  [ ! -s "$work/warnings" ] || fail "$name.1: $(cat "$work/warnings")"
  man --warnings -l "$page" >"$work/$name.txt" 2>"$work/warnings" ||
    fail "man could not render $name.1"
  [ ! -s "$work/warnings" ] || fail "$name.1: $(cat "$work/warnings")"
  ok "$name.1 renders without warnings"

  whatis=$(lexgrog "$page") || fail "lexgrog finds no NAME line in $name.1"
  case $whatis in
    *": \"$name - "*) ;;
    *) fail "whatis line of $name.1: $whatis" ;;
  esac
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENCODINGS \
      'THE RANDOM SEQUENCE' 'EXIT STATUS' ENVIRONMENT FILES EXAMPLES AUTHORS \
      'SEE ALSO'; do
    grep -qx "$section" "$work/$name.txt" || fail "$name.1 has no $section section"
  done
  tail -n 1 "$work/$name.txt" | grep -q "^Zorkel $VERSION " ||
    fail "$name.1 is not the page of version $VERSION: $(tail -n 1 "$work/$name.txt")"
  ok "$name.1: whatis entry, every section, version $VERSION"
done

# section NAME FILE: the lines of a rendered section, heading excluded.
section() {
  awk -v want="$1" '/^[A-Z]/ { inside = ($0 == want); next } inside' "$2"
}
# option_names: the option names of an option list's entries (the lines
# that start with a dash once indented), one a line, sorted.
option_names() {
  grep -E '^ +-' | sed -E 's/^ +//; s/  .*//' |
    grep -oE -- '--?[a-z][a-z0-9-]*' | sort -u
}
"$CLI" --help | option_names >"$work/help-options"
section OPTIONS "$work/zorkel-cli.txt" | option_names >"$work/man-options"
[ "$(wc -l <"$work/help-options")" -ge 7 ] || fail "--help lists too few options"
diff -u "$work/help-options" "$work/man-options" >&2 ||
  fail "zorkel-cli.1 and zorkel-cli --help list different options"
ok "zorkel-cli.1 documents exactly the options of --help: $(tr '\n' ' ' <"$work/help-options")"

# The examples of zorkel-cli.1 as a transcript: each "$ command" runs, in a
# folder holding the files the examples name, with the installed programs
# first on the PATH, and must print the lines shown under it.
section EXAMPLES "$work/zorkel-cli.txt" |
  awk '/^           / {
         sub(/^           /, "")
         if (substr($0, 1, 2) == "$ ") print "C" substr($0, 3); else print "O" $0
       }' >"$work/transcript"
mkdir "$work/run"
printf 'Dear diary,\r\nleet speak is back.\r\n' >"$work/run/notes.txt"
printf 'Read me: \303\251t\303\251, caf\303\251.\n' >"$work/run/readme.txt"
commands=0
run_pending() {
  [ -n "${command:-}" ] || return 0
  got=$(cd "$work/run" && PATH="$STAGE/usr/bin:$PATH" sh -c "$command") ||
    fail "example '$command' failed"
  [ "$got" = "$expected" ] ||
    fail "example '$command' prints '$got', the page shows '$expected'"
  commands=$((commands + 1))
}
command=
expected=
nl='
'
while IFS= read -r line; do
  case $line in
    C*) run_pending; command=${line#C}; expected= ;;
    O*) expected=${expected:+$expected$nl}${line#O} ;;
  esac
done <"$work/transcript"
run_pending
[ "$commands" -ge 8 ] || fail "only $commands examples found in zorkel-cli.1"
ok "the $commands example commands of zorkel-cli.1 print what the page shows"
