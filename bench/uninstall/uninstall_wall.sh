#!/usr/bin/env bash
# Wall time of one uninstallation with no product running: a sandbox home
# with an installed folder laid out from the payload, then the uninstaller
# run with "silent" until it ends. Run by hand from the repository root:
#
#   bench/uninstall/uninstall_wall.sh BUILD_DIR [RUNS]
#
# BUILD_DIR holds the packed OstrelSetup and product/payload.7z. Prints each
# run's milliseconds and the median, and the median as a ratio to the two
# 500 ms pauses the procedure makes by design, its floor.
#
# With LAYOUT_ONLY=1 or UNINSTALL_ONLY=1 and a SANDBOX folder, one step runs
# alone, for a whole-process timer pairing "layout + uninstall" against
# "layout" (SANDBOX=/tmp/x LAYOUT_ONLY=1 bench/uninstall/uninstall_wall.sh b).
set -euo pipefail

build="${1:?usage: uninstall_wall.sh BUILD_DIR [RUNS]}"
runs="${2:-7}"
setup="$build/OstrelSetup"
archive="$build/product/payload.7z"
password="Zq4vTe"
[ -x "$setup" ] && [ -f "$archive" ] || { echo "no packed setup or payload in $build" >&2; exit 2; }

layout() {
  local root="$1" folder="$1/home/.local/share/Ostrel"
  rm -rf "$root"
  mkdir -p "$folder" "$root/home/Desktop" "$root/home/.local/share/applications" "$root/runtime" "$root/tmp"
  chmod 700 "$root/runtime"
  7zz x -y "-p$password" "-o$folder" "$archive" >/dev/null
  cp "$setup" "$folder/Uninstall"
  local key="$root/home/.config/ostrel-registry/HKEY_CURRENT_USER/Software/Microsoft/Windows/CurrentVersion/Uninstall/Ostrel"
  mkdir -p "$key"
  printf 'REG_SZ\n%s' "$folder/Uninstall" >"$key/UninstallString"
  printf 'REG_SZ\n%s' "Ostrel" >"$key/DisplayName"
  printf '[Desktop Entry]\nType=Application\nName=Ostrel\nExec=%s\n' "$folder/Ostrel" |
    tee "$root/home/Desktop/Ostrel.desktop" >"$root/home/.local/share/applications/Ostrel.desktop"
}

# The uninstaller stops the product by name, which reaches every process of
# this user with that name: it runs in a process namespace of its own (with a
# user namespace when not root), where it sees nothing but itself.
own_processes=(unshare --pid --fork --kill-child --mount-proc)
if [ "$(id -u)" -ne 0 ]; then own_processes=(unshare --user --map-root-user --pid --fork --kill-child --mount-proc); fi
if ! "${own_processes[@]}" true 2>/dev/null; then
  echo "cannot make a process namespace here (${own_processes[*]}); not running an uninstaller that would stop this user's processes" >&2
  exit 2
fi

uninstall() {
  local root="$1"
  "${own_processes[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$root/home" XDG_CONFIG_HOME="$root/home/.config" \
    XDG_DATA_HOME="$root/home/.local/share" XDG_RUNTIME_DIR="$root/runtime" TMPDIR="$root/tmp" \
    OSTREL_STAT_BASE=https://127.0.0.1:9 \
    "$root/home/.local/share/Ostrel/Uninstall" silent
  if [ -e "$root/home/.local/share/Ostrel/Uninstall" ]; then echo "the uninstaller is still there" >&2; exit 1; fi
}

if [ "${LAYOUT_ONLY:-0}" = 1 ]; then layout "${SANDBOX:?}"; exit 0; fi
if [ "${UNINSTALL_ONLY:-0}" = 1 ]; then uninstall "${SANDBOX:?}"; exit 0; fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
times=()
for ((i = 0; i <= runs; i++)); do
  layout "$work/s"
  start=$(date +%s%N)
  uninstall "$work/s"
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
  if [ "$i" -eq 0 ]; then echo "warm-up: ${ms} ms"; continue; fi
  echo "run $i: ${ms} ms"
  times+=("$ms")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}')
echo "median: ${median} ms over $runs runs"
awk -v m="$median" 'BEGIN {printf "median / 1000 ms of pauses: %.2f\n", m / 1000}'
