#!/usr/bin/env bash
# Makes the gallery's reference picture anew from the current build, for when
# the controls' look changes on purpose. Look at the picture before you
# commit it: the screenshot test holds every later build to it.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
reference="$root/tests/examples/references/gallery.png"
cmake --build --preset default --target gallery >/dev/null
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 800x600x24" \
  "$root/build/default/examples/gallery/gallery" --grab "$reference"
echo "wrote $reference - look at it before committing"
