# Sourced by the window benchmarks after they set "build" (a bench build
# folder) and "$@": finds the packed setup and the bare reference window in
# it, runs the calling script again inside a virtual X server, and makes a
# sandbox home with "run_env", the environment a run gets (the sandbox, the
# display, reports to an address that refuses at once). The caller removes
# "$sandbox" when it ends.
build="$(cd "$build" && pwd)"
setup="$build/OstrelSetup"
bare="$build/bench/window/bare_first_frame"
[ -x "$setup" ] && [ -x "$bare" ] || { echo "no packed setup or bare_first_frame in $build" >&2; exit 2; }

if [ -z "${OSTREL_BENCH_IN_X:-}" ]; then
  OSTREL_BENCH_IN_X=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

sandbox="$(mktemp -d "${TMPDIR:-/tmp}/ostrel-window-bench.XXXXXX")"
mkdir -p "$sandbox/home/.config" "$sandbox/home/.local/share" "$sandbox/runtime" "$sandbox/tmp"
chmod 700 "$sandbox/runtime"
run_env=(env -i "PATH=/usr/bin:/bin" "LANG=C.UTF-8" "DISPLAY=$DISPLAY" "XAUTHORITY=${XAUTHORITY:-}" "QT_QPA_PLATFORM=xcb"
  "HOME=$sandbox/home" "XDG_CONFIG_HOME=$sandbox/home/.config" "XDG_DATA_HOME=$sandbox/home/.local/share"
  "XDG_RUNTIME_DIR=$sandbox/runtime" "TMPDIR=$sandbox/tmp" "OSTREL_STAT_BASE=https://127.0.0.1:9")
