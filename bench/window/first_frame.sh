#!/usr/bin/env bash
# Cold start to the first painted frame: the packed setup, started as a user
# starts it (in a sandbox home, on a virtual X server), against a bare Qt
# program that shows a window of the same size and kind, in one run, A B A B.
# Both end as soon as their first frame is painted
# (OSTREL_EXIT_AFTER_FIRST_FRAME=1), so each run's wall time is the way to the
# first frame. Run by hand from the repository root:
#
#   bench/window/first_frame.sh BUILD_DIR [ROUNDS]
#
# BUILD_DIR is a build folder of the bench preset (the packed OstrelSetup and
# bench/window/bare_first_frame). Printed: each side's median in
# milliseconds and the median of the round-by-round ratios setup / bare.
set -euo pipefail

build="${1:?usage: first_frame.sh BUILD_DIR [ROUNDS]}"
rounds="${2:-21}"
# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"
trap 'rm -rf "$sandbox"' EXIT
run_env+=("OSTREL_EXIT_AFTER_FIRST_FRAME=1")

# Wall milliseconds of one run; a run that does not end with 0 stops the script.
time_one() {
  local start end
  start=$(date +%s%N)
  "${run_env[@]}" "$@" >/dev/null 2>&1 || { echo "$* failed" >&2; exit 1; }
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Warm-up: the page cache holds both programs and Qt, and the identity exists.
time_one "$setup" >/dev/null
time_one "$bare" >/dev/null
setup_times=()
bare_times=()
ratios=()
for ((i = 0; i < rounds; i++)); do
  s=$(time_one "$setup")
  b=$(time_one "$bare")
  setup_times+=("$s")
  bare_times+=("$b")
  ratios+=("$(awk -v s="$s" -v b="$b" 'BEGIN { printf "%.4f", s / b }')")
done
printf 'first frame, %d rounds (medians)\n' "$rounds"
printf '  setup: %.1f ms\n' "$(printf '%s\n' "${setup_times[@]}" | median | awk '{ print $1 / 1000 }')"
printf '  bare Qt window: %.1f ms\n' "$(printf '%s\n' "${bare_times[@]}" | median | awk '{ print $1 / 1000 }')"
printf '  setup / bare: %.2f\n' "$(printf '%s\n' "${ratios[@]}" | median)"
