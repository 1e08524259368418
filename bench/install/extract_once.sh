#!/bin/sh
# The reference: the bare extractor on the same archive into a fresh folder.
#   extract_once.sh ARCHIVE OUT
set -eu
archive=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
exec 7zz x -pZq4vTe -aoa -bd -bso0 -bsp0 "$archive" "-o$out/"
