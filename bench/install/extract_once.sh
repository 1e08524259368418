#!/bin/sh
# The reference: the bare extractor on the same archive into a fresh folder,
# plus the copy of the setup file that an install leaves as its uninstaller.
#   extract_once.sh ARCHIVE SETUP OUT
set -eu
archive=$1
setup=$2
out=$3
rm -rf "$out"
mkdir -p "$out"
7zz x -pZq4vTe -aoa -bd -bso0 -bsp0 "$archive" "-o$out/"
cp "$setup" "$out/Uninstall"
