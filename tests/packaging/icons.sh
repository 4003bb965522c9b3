#!/bin/sh
# The installed hicolor icons: PNGs of their folder's size, the 32-pixel one
# the same picture as the program's own icon, and each larger one an exact
# nearest-neighbour enlargement of it, with no colour that picture lacks.
# Usage: icons.sh STAGE_DIR PROGRAM_ICON.ico
. "$(dirname "$0")/lib.sh"
STAGE=$1
ICO=$2
HICOLOR=$STAGE/usr/share/icons/hicolor
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

icon() {
  echo "$HICOLOR/$1x$1/apps/$APP_ID.png"
}

for size in 32 48 64 128 256; do
  got=$(png_size "$(icon $size)") || fail "the ${size}x$size icon is no PNG"
  [ "$got" = "${size}x$size" ] || fail "the ${size}x$size icon is $got"
done
ok "the icons are PNGs of 32, 48, 64, 128 and 256 pixels"

# The icon file the window shows holds one 32 by 32 picture.
[ "$(identify -format '%wx%h\n' "$ICO")" = 32x32 ] || fail "$ICO is not one 32x32 picture"
pixels "$ICO" >"$work/program"
pixels "$(icon 32)" >"$work/32"
cmp -s "$work/program" "$work/32" || fail "the 32x32 icon is not the program's icon"
[ "$(grep -c '^00000000$' "$work/32")" -gt 0 ] || fail "the 32x32 icon has no transparent pixel"
[ "$(grep -vc '^00000000$' "$work/32")" -gt 0 ] || fail "the 32x32 icon is empty"
ok "the 32x32 icon is the program's icon pixel for pixel, transparency kept"

sort -u "$work/32" >"$work/32-colours"
for size in 48 64 128 256; do
  pixels "$(icon $size)" >"$work/$size"
  # Point sampling at the centre of each target pixel: nearest neighbour.
  convert "$(icon 32)" -filter point -resize "${size}x$size" png:"$work/reference.png"
  pixels "$work/reference.png" >"$work/$size-reference"
  cmp -s "$work/$size" "$work/$size-reference" ||
    fail "the ${size}x$size icon is not the 32x32 one enlarged by nearest neighbour"
  sort -u "$work/$size" | comm -23 - "$work/32-colours" >"$work/new-colours"
  [ ! -s "$work/new-colours" ] ||
    fail "the ${size}x$size icon has colours the 32x32 one lacks: $(head -n 3 "$work/new-colours")"
done
ok "48, 64, 128 and 256: exact nearest-neighbour enlargements of the 32x32 icon"
