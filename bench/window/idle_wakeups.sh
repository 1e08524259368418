#!/usr/bin/env bash
# Wake-ups of the setup while its window shows and nothing moves: the packed
# setup is started as a user starts it (in a sandbox home, on a virtual X
# server), left to finish its intro, and then watched for 10 seconds; every
# context switch of any of its threads in that time is a wake-up. A bare Qt
# window of the same size and kind (bare_first_frame) is watched the same way
# in the same run as the reference. Run by hand from the repository root:
#
#   bench/window/idle_wakeups.sh BUILD_DIR [SETTLE_SECONDS] [WATCH_SECONDS]
#
# BUILD_DIR is a build folder of the bench preset.
set -euo pipefail

build="${1:?usage: idle_wakeups.sh BUILD_DIR [SETTLE_SECONDS] [WATCH_SECONDS]}"
settle="${2:-9}"
watch="${3:-10}"
# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$sandbox"
}
trap cleanup EXIT

# Context switches of all threads of process $1 so far.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

# Starts "$@", lets it settle, and prints its wake-ups over the watch time.
wakeups() {
  "${run_env[@]}" "$@" >/dev/null 2>&1 &
  local pid=$!
  started+=("$pid")
  sleep "$settle"
  kill -0 "$pid" 2>/dev/null || { echo "$* ended before it was watched" >&2; exit 1; }
  local before after
  before=$(switches "$pid")
  sleep "$watch"
  after=$(switches "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo $((after - before))
}

setup_count=$(wakeups "$setup")
bare_count=$(wakeups "$bare")
printf 'wake-ups over %d s after %d s of settling\n' "$watch" "$settle"
printf '  setup: %d\n' "$setup_count"
printf '  bare Qt window: %d\n' "$bare_count"
