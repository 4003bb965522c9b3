#!/bin/sh
# Installs a build into a fresh staging folder the way a distribution does:
# prefix /usr, under DESTDIR.
# Usage: stage.sh CMAKE BUILD_DIR STAGE_DIR
set -eu
cmake=$1
build=$2
stage=$3
rm -rf "$stage"
umask 022
DESTDIR=$stage "$cmake" --install "$build" --prefix /usr
