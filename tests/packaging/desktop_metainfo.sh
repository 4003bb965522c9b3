#!/bin/sh
# The desktop entry and the AppStream metainfo as installed: both validators
# pass with nothing to say, and the two files, the icon and the programs all
# agree with one another.
# Usage: desktop_metainfo.sh STAGE_DIR VERSION SCREENSHOT.png
. "$(dirname "$0")/lib.sh"
STAGE=$1
VERSION=$2
SCREENSHOT=$3
SHARE=$STAGE/usr/share
DESKTOP=$SHARE/applications/$APP_ID.desktop
METAINFO=$SHARE/metainfo/$APP_ID.metainfo.xml

out=$(desktop-file-validate "$DESKTOP" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
ok "desktop-file-validate passes with no remark"

out=$(appstreamcli validate --no-net --strict "$METAINFO" 2>&1) ||
  fail "appstreamcli validate: $out"
ok "appstreamcli validate --no-net --strict passes"
# The tree as a whole: the metainfo finds its desktop entry.
out=$(appstreamcli validate-tree --no-net --strict "$STAGE" 2>&1) ||
  fail "appstreamcli validate-tree: $out"
ok "appstreamcli validate-tree --no-net --strict passes"

# desktop_key KEY: the value of KEY in the entry's only group.
desktop_key() {
  sed -n "s/^$1=//p" "$DESKTOP"
}
expect_key() {
  got=$(desktop_key "$1")
  [ "$got" = "$2" ] || fail "desktop entry: $1 is '$got', expected '$2'"
}
[ "$(grep -c '^\[' "$DESKTOP")" -eq 1 ] || fail "the desktop entry has more than one group"
expect_key Type Application
expect_key Name Zorkel
# The program reads no command line: no field codes, no arguments.
expect_key Exec zorkel
expect_key Terminal false
expect_key Categories 'Utility;TextTools;'
expect_key StartupWMClass zorkel
expect_key Icon "$APP_ID"
[ -n "$(desktop_key Comment)" ] || fail "desktop entry: no Comment"
[ -x "$STAGE/usr/bin/$(desktop_key Exec)" ] || fail "Exec names no installed program"
ok "desktop entry: Exec=zorkel (installed), Icon, Categories, StartupWMClass, Terminal"

# Every size of the icon the entry names is in the hicolor theme.
for size in 32 48 64 128 256; do
  [ -f "$SHARE/icons/hicolor/${size}x$size/apps/$(desktop_key Icon).png" ] ||
    fail "no ${size}x$size icon named $(desktop_key Icon)"
done
ok "the entry's icon is installed at 32, 48, 64, 128 and 256 pixels"

xpath() {
  xmllint --xpath "$1" "$METAINFO" 2>/dev/null
}
expect_xpath() {
  got=$(xpath "$1") || got="<none>"
  [ "$got" = "$2" ] || fail "metainfo: $1 is '$got', expected '$2'"
}
expect_xpath 'string(/component/@type)' desktop-application
expect_xpath 'string(/component/id)' "$APP_ID"
expect_xpath 'string(/component/launchable[@type="desktop-id"])' "$APP_ID.desktop"
expect_xpath 'string(/component/content_rating/@type)' oars-1.1
ok "metainfo: id and launchable name the desktop entry; content rating"

# The newest release is this version, with a date.
expect_xpath 'string(/component/releases/release[1]/@version)' "$VERSION"
date=$(xpath 'string(/component/releases/release[1]/@date)')
case $date in
  [0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]) ;;
  *) fail "metainfo: release $VERSION has no date ('$date')" ;;
esac
ok "metainfo: newest release is $VERSION, of $date"

# The screenshot is the project's own, at its real size.
url=$(xpath 'string(/component/screenshots/screenshot[@type="default"]/image)')
case $url in
  https://*.example.org/*.png) ;;
  *) fail "metainfo: screenshot URL '$url'" ;;
esac
size=$(png_size "$SCREENSHOT") || fail "$SCREENSHOT is no PNG"
expect_xpath 'concat(/component/screenshots/screenshot[@type="default"]/image/@width, "x", /component/screenshots/screenshot[@type="default"]/image/@height)' "$size"
ok "metainfo: screenshot $url, $size like $(basename "$SCREENSHOT")"

for prog in zorkel zorkel-cli; do
  [ "$(xpath "count(/component/provides/binary[.='$prog'])")" = 1 ] ||
    fail "metainfo: does not provide $prog"
  [ -x "$STAGE/usr/bin/$prog" ] || fail "metainfo provides $prog, not installed"
done
ok "metainfo: provides both installed programs"
