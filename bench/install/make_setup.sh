#!/bin/sh
# Packs a setup around a payload of SIZE_MB megabytes of incompressible data
# plus a product that ends at once, so that a timed install measures the
# installation and not the product's start.
#   make_setup.sh BUILD_DIR SIZE_MB OUT_DIR
# Writes OUT_DIR/payload.7z and OUT_DIR/OstrelSetup.
set -eu
build=$1
size_mb=$2
out=$3

stage="$out/stage"
rm -rf "$stage" "$out/payload.7z" "$out/OstrelSetup"
mkdir -p "$stage"
printf '#!/bin/sh\nexit 0\n' > "$stage/Ostrel"
chmod 755 "$stage/Ostrel"
head -c "$((size_mb * 1024 * 1024))" /dev/urandom > "$stage/data.bin"
(cd "$stage" && 7zz a -t7z -pZq4vTe -mhe=off -bd -bso0 -bsp0 -- "$out/payload.7z" . )
rm -rf "$stage"

"$build/tools/ostrel-pack" --program "$build/setup/app/OstrelSetup" --output "$out/OstrelSetup" \
  --resource-text VER=2.0 --resource "7ZA=$(readlink -f "$(command -v 7zz)")" --resource "PAK=$out/payload.7z" \
  --resource "GUI=$build/setup/app/libostrel_setup_window.so"
