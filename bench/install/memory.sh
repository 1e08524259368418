#!/bin/sh
# Peak resident memory of an unattended install for a small and a large
# payload: the setup's own peak (VmHWM, followed in /proc while it runs), and
# what /usr/bin/time reports, which is the larger of the setup and the
# extractor it waits for.
#   memory.sh BUILD_DIR WORK_DIR [SMALL_MB] [LARGE_MB]
set -eu
build=$1
work=$2
small=${3:-3}
large=${4:-300}
here=$(cd "$(dirname "$0")" && pwd)

for size in "$small" "$large"; do
  dir="$work/mem-$size"
  mkdir -p "$dir"
  "$here/make_setup.sh" "$build" "$size" "$dir"

  # install_once.sh execs the setup, so the background job's id is the setup's.
  "$here/install_once.sh" "$dir/OstrelSetup" "$dir/box" &
  setup=$!
  own=0
  while [ -r "/proc/$setup/status" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$setup/status" 2>/dev/null; do
    hwm=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\).*/\1/p' "/proc/$setup/status" 2>/dev/null || true)
    if [ -n "$hwm" ] && [ "$hwm" -gt "$own" ]; then own=$hwm; fi
    sleep 0.005
  done
  wait "$setup" || true

  /usr/bin/time -v -o "$dir/time.txt" "$here/install_once.sh" "$dir/OstrelSetup" "$dir/box" || true
  with_extractor=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$dir/time.txt")
  echo "payload ${size} MB: setup's own peak ${own} kB; with the extractor ${with_extractor} kB"
  rm -rf "$dir"
done
