#!/usr/bin/env bash
# An unattended install against the bare extractor on the same archive, in
# one run, for the demo payload and a large one (200 MB of incompressible
# data unless told otherwise), and the bytes an install writes against what it
# must write. Run by hand from the repository root:
#
#   bench/install/compare.sh BUILD_DIR [ROUNDS] [LARGE_MB]
#
# BUILD_DIR is a build folder of the default or bench preset (the packed
# OstrelSetup, product/payload.7z, setup/app/ and tools/ostrel-pack). Each
# round times the install into a fresh sandbox home and `7zz x` of the same
# archive into a fresh folder, the install first in one round and the
# extractor first in the next, so a drift of the machine's load or a side's
# leftover in the caches falls on both alike. Both sides start the same way
# (through `env -i` with the same few variables) and run from a shell that has
# just synced; folders are made, the previous round's files removed and
# synced, and the product the install started stopped, outside the timing.
# Printed: each side's median, the median of the round-by-round ratios with
# its lowest and highest, and the load average before and after (the figures
# mean little on a machine that is busy with other work); then the bytes the
# install wrote (the kernel's
# count of the page-cache bytes dirtied by the setup and the extractor it
# waits for) against the unpacked payload plus the uninstaller (the program
# without the payload), both as the space their files take.
set -euo pipefail

build="${1:?usage: compare.sh BUILD_DIR [ROUNDS] [LARGE_MB]}"
rounds="${2:-15}"
large_mb="${3:-200}"
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$build" && pwd)"
password="Zq4vTe"
[ -x "$build/OstrelSetup" ] && [ -f "$build/product/payload.7z" ] || {
  echo "no packed setup or payload in $build" >&2
  exit 2
}

work="$(mktemp -d)"
box="$work/box"
ref="$work/ref"

# Only what runs from below the sandbox is ever stopped here: the product the
# demo install starts.
stop_sandbox_programs() {
  local exe pid
  for pid in /proc/[0-9]*; do
    exe="$(readlink "$pid/exe" 2>/dev/null || true)"
    case "$exe" in "$box"/*) kill -KILL "${pid#/proc/}" 2>/dev/null || true ;; esac
  done
}

cleanup() {
  stop_sandbox_programs
  rm -rf "$work"
}
trap cleanup EXIT

fresh_box() {
  stop_sandbox_programs
  rm -rf "$box"
  mkdir -p "$box/home/.config" "$box/home/.local/share" "$box/home/Desktop" "$box/runtime" "$box/tmp"
  chmod 700 "$box/runtime"
  sync
}

fresh_ref() {
  rm -rf "$ref"
  mkdir -p "$ref"
  sync
}

# No display variable: an unattended install needs none.
install() {
  env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$box/home" XDG_CONFIG_HOME="$box/home/.config" \
    XDG_DATA_HOME="$box/home/.local/share" XDG_CACHE_HOME="$box/home/.cache" XDG_RUNTIME_DIR="$box/runtime" \
    TMPDIR="$box/tmp" OSTREL_STAT_BASE=https://127.0.0.1:9 "$1" silent nogui
}

# Started as the install is, so neither side pays for a start the other skips.
extract() {
  env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$box/home" TMPDIR="$box/tmp" \
    7zz x "-p$password" -aoa -bd -bso0 -bsp0 "$1" "-o$ref/"
}

now_us() {
  local t="$EPOCHREALTIME"
  echo "${t/./}"
}

median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

# Microseconds one command takes, its own output left alone.
timed() {
  local t0 t1
  t0=$(now_us)
  "$@" >&2
  t1=$(now_us)
  echo $((t1 - t0))
}

timed_install() {
  fresh_box
  timed install "$1" || { echo "the install failed" >&2; exit 1; }
  # The product the install started would otherwise still be starting,
  # on the processors the other side is timed on next.
  stop_sandbox_programs
}

timed_extract() {
  fresh_ref
  timed extract "$1"
}

compare() {
  local name="$1" setup="$2" archive="$3"
  local i install_us extract_us load_before
  local installs=() extracts=() ratios=()
  load_before=$(cut -d ' ' -f 1-3 /proc/loadavg)
  # Round 0 warms the caches and is not counted.
  for ((i = 0; i <= rounds; i++)); do
    if ((i % 2 == 0)); then
      install_us=$(timed_install "$setup")
      extract_us=$(timed_extract "$archive")
    else
      extract_us=$(timed_extract "$archive")
      install_us=$(timed_install "$setup")
    fi
    ((i == 0)) && continue
    installs+=("$install_us")
    extracts+=("$extract_us")
    ratios+=("$(awk -v a="$install_us" -v b="$extract_us" 'BEGIN {printf "%.4f", a / b}')")
  done
  local mi me mr lo hi
  mi=$(printf '%s\n' "${installs[@]}" | median)
  me=$(printf '%s\n' "${extracts[@]}" | median)
  mr=$(printf '%s\n' "${ratios[@]}" | median)
  lo=$(printf '%s\n' "${ratios[@]}" | sort -n | head -n 1)
  hi=$(printf '%s\n' "${ratios[@]}" | sort -n | tail -n 1)
  awk -v n="$name" -v i="$mi" -v e="$me" -v r="$mr" -v k="$rounds" -v lo="$lo" -v hi="$hi" \
    'BEGIN {printf "%s: install %.1f ms, 7zz x %.1f ms (medians of %d); install / 7zz x = %.3f (median of the ratios, %.3f to %.3f)\n", n, i / 1000, e / 1000, k, r, lo, hi}'
  echo "$name: load average $load_before before, $(cut -d ' ' -f 1-3 /proc/loadavg) after"

  # Bytes: one more install, counted by the kernel (file system outputs are
  # 512-byte units of dirtied page cache, the waited-for extractor included).
  fresh_box
  /usr/bin/time -f %O -o "$work/outputs" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$box/home" \
    XDG_CONFIG_HOME="$box/home/.config" XDG_DATA_HOME="$box/home/.local/share" XDG_CACHE_HOME="$box/home/.cache" \
    XDG_RUNTIME_DIR="$box/runtime" TMPDIR="$box/tmp" OSTREL_STAT_BASE=https://127.0.0.1:9 "$setup" silent nogui
  # The kernel counts whole pages, so both sides count what the files take
  # on the disk, not their lengths (a 35-byte file takes a block).
  local written unpacked uninstaller extracted
  written=$(($(tail -n 1 "$work/outputs") * 512))
  unpacked=$(find "$ref" -type f -printf '%b\n' | awk '{s += $1 * 512} END {print s + 0}')
  uninstaller=$(($(stat -c %b "$box/home/.local/share/Ostrel/Uninstall") * 512))
  awk -v n="$name" -v w="$written" -v p="$unpacked" -v u="$uninstaller" \
    'BEGIN {printf "%s: wrote %.1f MB for %.1f MB unpacked + %.1f MB uninstaller; ratio %.3f\n", n, w / 1e6, p / 1e6, u / 1e6, w / (p + u)}'
  # Where the file system keeps no journal, the writer is charged for the
  # inodes, bitmaps and folder blocks it changes too: the bare extractor's
  # own count shows how much of that any extraction of this payload costs.
  fresh_ref
  /usr/bin/time -f %O -o "$work/outputs" 7zz x "-p$password" -aoa -bd -bso0 -bsp0 "$archive" "-o$ref/"
  extracted=$(($(tail -n 1 "$work/outputs") * 512))
  awk -v n="$name" -v w="$written" -v e="$extracted" -v u="$uninstaller" \
    'BEGIN {printf "%s: 7zz x wrote %.2f MB; install / (7zz x written + uninstaller) = %.3f\n", n, e / 1e6, w / (e + u)}'
}

compare "demo payload" "$build/OstrelSetup" "$build/product/payload.7z"

large="$work/large"
mkdir -p "$large"
"$here/make_setup.sh" "$build" "$large_mb" "$large" >/dev/null
compare "${large_mb} MB payload" "$large/OstrelSetup" "$large/payload.7z"
