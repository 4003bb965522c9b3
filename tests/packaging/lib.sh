# Shared steps of the installation checks.
set -eu

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

ok() {
  echo "ok - $*"
}

# The identifier of the desktop entry, the metainfo and the icon.
APP_ID=org.example.Zorkel

# pixels IMAGE: one line per pixel, "rrggbbaa" in hex, every fully
# transparent pixel written 00000000 whatever colour it carries.
pixels() {
  convert "$1" -depth 8 rgba:- | od -An -v -tx1 -w4 |
    awk '{ if ($4 == "00") print "00000000"; else print $1 $2 $3 $4 }'
}

# png_size IMAGE: "WIDTHxHEIGHT" of a PNG, or fails when it is no PNG.
png_size() {
  identify -format '%m %wx%h\n' "$1" 2>/dev/null | {
    read -r format size || exit 1
    [ "$format" = PNG ] || exit 1
    echo "$size"
  }
}

# gzip_is_reproducible FILE: gzip -9n data: maximum compression, no file
# name and no time stamp in the header.
gzip_is_reproducible() {
  set -- $(od -An -v -tx1 -N10 "$1")
  [ "$1$2$3" = 1f8b08 ] || return 1
  [ $((0x$4 & 0x08)) -eq 0 ] || return 1      # FNAME
  [ "$5$6$7$8" = 00000000 ] || return 1       # MTIME
  [ "$9" = 02 ] || return 1                   # XFL: slowest, best
}
