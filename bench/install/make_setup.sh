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

# Packed as the build packs the setup: the program and the window module as
# the build put them into it (without debug information, unless that build
# keeps it), the archive first after the program.
program="$build/setup/app/OstrelSetup"
module="$build/setup/app/libostrel_setup_window.so"
packed="$build/setup/app/OstrelSetup_packed-pack"
[ -f "$packed/program" ] && program="$packed/program"
[ -f "$packed/GUI.so" ] && module="$packed/GUI.so"
"$build/tools/ostrel-pack" --program "$program" --output "$out/OstrelSetup" \
  --resource-text VER=2.0 --resource "PAK=$out/payload.7z" --resource "7ZA=$(readlink -f "$(command -v 7zz)")" \
  --resource "GUI=$module"
