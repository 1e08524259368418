#!/usr/bin/env bash
# Installs the system packages, builds everything and starts the packed setup
# program, by default in a demonstration home under build/ so that nothing it
# does reaches your own: see --help.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'TEXT'
Usage: scripts/run.sh [--for-real] [SETUP ARGUMENTS...]
       scripts/run.sh --help | --version

Installs the packages the project needs, builds it (preset "default") and
runs the packed setup program, build/default/OstrelSetup.

By default it runs in a demonstration home, build/demo/ (HOME, the XDG
folders and TMPDIR point there, and the usage report goes to no server), so
nothing it does reaches your own home:
  - with a display, the setup window opens there; SETUP ARGUMENTS (such as
    "silent") are passed on;
  - without one, it saves a screenshot of the window, taken on a virtual
    display, to build/demo/setup-window.png, then installs the demo product
    unattended ("silent nogui") into the demonstration home and prints what
    it installed where.
Run it again to see the setup in update mode; remove build/demo/ to start over.

  --for-real  run the setup in your own home, as a user would: it installs
              the product for you and sends its usage report.
  --help      print this text.
  --version   print the setup's version.

OSTREL_SETUP names an already packed setup to run instead of building one,
OSTREL_DEMO_HOME another demonstration home.
TEXT
}

version() {
  sed -n 's/^project(OstrelSetup VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt
}

for_real=0
args=()
for arg in "$@"; do
  case "$arg" in
    --help | -h) usage; exit 0 ;;
    --version) echo "OstrelSetup $(version)"; exit 0 ;;
    --for-real) for_real=1 ;;
    *) args+=("$arg") ;;
  esac
done

setup="${OSTREL_SETUP:-}"
if [ -z "$setup" ]; then
  scripts/install-deps.sh
  cmake --preset default
  cmake --build --preset default
  setup="$PWD/build/default/OstrelSetup"
fi

if [ "$for_real" = 1 ]; then
  echo "Starting $setup ${args[*]:-} in your own home"
  exec "$setup" "${args[@]}"
fi

demo="${OSTREL_DEMO_HOME:-$PWD/build/demo}"
mkdir -p "$demo/home/Desktop" "$demo/runtime" "$demo/tmp"
chmod 700 "$demo/runtime"
demo_env=(
  HOME="$demo/home"
  XDG_CONFIG_HOME="$demo/home/.config"
  XDG_DATA_HOME="$demo/home/.local/share"
  XDG_CACHE_HOME="$demo/home/.cache"
  XDG_RUNTIME_DIR="$demo/runtime"
  TMPDIR="$demo/tmp"
  OSTREL_STAT_BASE=https://127.0.0.1:9
)

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the setup window in the demonstration home $demo"
  exec env "${demo_env[@]}" "$setup" "${args[@]}"
fi

# Only what runs from the demonstration home is stopped here: the product the
# install starts.
stop_demo_programs() {
  local pid exe
  for pid in /proc/[0-9]*; do
    exe="$(readlink "$pid/exe" 2>/dev/null || true)"
    case "$exe" in "$demo"/*) kill "${pid#/proc/}" 2>/dev/null || true ;; esac
  done
}

echo "No display: a screenshot of the setup window, then an unattended install into $demo"
shot="$demo/setup-window.png"
rm -f "$shot"
xvfb-run -a -s "-screen 0 640x360x24" env "${demo_env[@]}" bash -c '
  "$1" &
  window=$!
  sleep 3
  import -window root "$2"
  kill "$window"
  wait "$window" 2>/dev/null || true
' screenshot "$setup" "$shot"
echo "  window:      $shot"

status=0
env "${demo_env[@]}" "$setup" silent nogui || status=$?
sleep 1
stop_demo_programs

folder="$demo/home/.local/share/Ostrel"
entry="$demo/home/.config/ostrel-registry/HKEY_CURRENT_USER/Software/Microsoft/Windows/CurrentVersion/Uninstall/Ostrel"
if [ "$status" -ne 0 ]; then
  echo "The install did not succeed (exit code $status)." >&2
  exit "$status"
fi
echo "Installed:"
echo "  folder:      $folder"
(cd "$folder" && find . -type f | sed 's|^\./|                 |' | sort)
echo "  entry:       $entry"
for value in "$entry"/*; do
  printf '                 %s = %s\n' "$(basename "$value")" "$(tail -n +2 "$value")"
done
echo "  shortcuts:   $demo/home/Desktop/Ostrel.desktop"
echo "               $demo/home/.local/share/applications/Ostrel.desktop"
echo "Uninstall it with: env HOME=$demo/home XDG_CONFIG_HOME=$demo/home/.config XDG_DATA_HOME=$demo/home/.local/share XDG_RUNTIME_DIR=$demo/runtime \"$folder/Uninstall\" silent"
