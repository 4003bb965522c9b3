#!/bin/sh
# A built Debian package, examined the way the archive tools see it: its
# control fields, dependencies computed from what the programs link, exactly
# the installed files plus the Debian changelog, owned by root with the right
# modes, stripped programs, reproducible gzip files, matching checksums, and
# lintian without errors.
# Usage: check_deb.sh PACKAGE.deb
. "$(dirname "$0")/lib.sh"
DEB=$1
EXPECTED=$(dirname "$0")/installed-files.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

dpkg-deb -I "$DEB" >/dev/null || fail "$DEB is no Debian package"
dpkg-deb -x "$DEB" "$work/root"
dpkg-deb -e "$DEB" "$work/control"
root=$work/root

field() {
  dpkg-deb -f "$DEB" "$1"
}
expect_field() {
  got=$(field "$1")
  [ "$got" = "$2" ] || fail "control field $1 is '$got', expected '$2'"
}
expect_field Package zorkel
expect_field Architecture "$(dpkg --print-architecture)"
expect_field Section utils
expect_field Priority optional
expect_field Homepage https://zorkel.example.org/
case $(field Maintainer) in
  *' <'*@*example.org'>') ;;
  *) fail "Maintainer: $(field Maintainer)" ;;
esac
[ "$(field Description | head -n 1)" = "rewrite text in leet writing" ] ||
  fail "synopsis: $(field Description | head -n 1)"
[ "$(field Description | wc -l)" -ge 5 ] || fail "the description has no long part"
ok "control fields: $(field Package) $(field Version) $(field Architecture), section utils, priority optional, $(field Maintainer)"

# The version is the programs' own, with a Debian revision, and the Debian
# changelog's newest entry.
version=$(field Version)
upstream=${version%-*}
[ "$upstream" != "$version" ] || fail "version $version has no Debian revision"
[ "$("$root/usr/bin/zorkel-cli" --version)" = "zorkel-cli $upstream" ] ||
  fail "the packaged zorkel-cli is not version $upstream"
zcat "$root/usr/share/doc/zorkel/changelog.Debian.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] ||
  fail "changelog.Debian's newest entry is not $version"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Source)" = zorkel ] ||
  fail "changelog.Debian is not zorkel's"
ok "version $version: the programs' $upstream, the changelog's newest entry"

# Depends holds the package of every library the programs link, with the
# versions dpkg-shlibdeps computes from the symbols used.
field Depends | tr ',' '\n' | sed 's/^ *//' >"$work/depends"
for prog in zorkel zorkel-cli; do
  for lib in $(readelf -d "$root/usr/bin/$prog" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path=$(ldconfig -p | awk -v lib="$lib" '$1 == lib && /x86-64|x32|AArch64|64bit/ { print $NF; exit }')
    [ -n "$path" ] || path=$(ldconfig -p | awk -v lib="$lib" '$1 == lib { print $NF; exit }')
    [ -n "$path" ] || fail "$prog links $lib, which this system lacks"
    owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | head -n 1 | cut -d: -f1) ||
      true
    [ -n "$owner" ] || owner=$(dpkg -S "$path" | head -n 1 | cut -d: -f1)
    grep -q "^$owner\( \|$\)" "$work/depends" ||
      fail "$prog links $lib of package $owner; Depends: $(field Depends)"
  done
done
for package in libc6 libstdc++6 libfltk1.3 libx11-6; do
  grep -q "^$package\( \|$\)" "$work/depends" || fail "Depends lacks $package: $(field Depends)"
done
grep -q '^libc6 (>= 2\.[0-9]*)$' "$work/depends" ||
  fail "Depends has no computed libc6 version: $(field Depends)"
ok "Depends: $(field Depends)"

# The files: the installed ones and the Debian changelog, nothing else.
{
  grep -v '^#' "$EXPECTED"
  echo "644 usr/share/doc/zorkel/changelog.Debian.gz"
} | sort -k2 >"$work/expected"
dpkg-deb -c "$DEB" >"$work/listing"
awk '$1 !~ /^d/ {
       mode = 0
       for (i = 2; i <= 10; i++) mode = mode * 2 + (substr($1, i, 1) != "-")
       path = $6; sub(/^\.\//, "", path)
       printf "%o %s\n", mode, path
     }' "$work/listing" | sort -k2 >"$work/actual"
diff -u "$work/expected" "$work/actual" >&2 ||
  fail "the package's files (path and mode) are not the expected ones"
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { print; bad = 1 } END { exit bad }' \
  "$work/listing" >&2 || fail "folders not 755"
awk '$2 != "root/root" { print; bad = 1 } END { exit bad }' "$work/listing" >&2 ||
  fail "entries not owned by root/root"
if awk '{ print $6 }' "$work/listing" | grep -v '^\./usr/' | grep -vx '\./' >&2; then
  fail "entries outside /usr"
fi
! grep -q ' \./usr/local/' "$work/listing" || fail "files in /usr/local"
ok "$(wc -l <"$work/expected") files as expected, owned by root, folders 755, nothing in /usr/local"

for prog in zorkel zorkel-cli; do
  sections=$(readelf -S -W "$root/usr/bin/$prog")
  if printf '%s\n' "$sections" | grep -E '\.symtab|\.debug_' >&2; then
    fail "$prog is not stripped"
  fi
done
ok "the programs are stripped"

for file in usr/share/man/man1/zorkel.1.gz usr/share/man/man1/zorkel-cli.1.gz \
    usr/share/doc/zorkel/changelog.Debian.gz; do
  gzip_is_reproducible "$root/$file" || fail "$file is not gzip -9n data"
done
ok "manual pages and changelog.Debian compressed with gzip -9n"

(cd "$root" && md5sum --quiet -c "$work/control/md5sums") >&2 ||
  fail "the md5sums do not match the files"
[ "$(wc -l <"$work/control/md5sums")" -eq "$(wc -l <"$work/expected")" ] ||
  fail "md5sums does not cover every file"
ok "md5sums cover every file and match"

# lintian: no error. The one warning a package outside the Debian archive
# cannot avoid is initial-upload-closes-no-bugs (there is no ITP bug).
lintian --tag-display-limit 0 "$DEB" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
! grep -q '^E: ' "$work/lintian" || fail "lintian reports errors"
if grep '^W: ' "$work/lintian" | grep -v ' initial-upload-closes-no-bugs ' >&2; then
  fail "lintian reports warnings"
fi
ok "lintian: no error, no warning but initial-upload-closes-no-bugs"
