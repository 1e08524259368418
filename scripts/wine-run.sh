#!/usr/bin/env bash
# Runs a Windows program of the build under Wine; the caller's environment
# names the prefix. Wine's server is kept for a minute after its last
# program: starting it anew costs seconds, which each of the tests' hundreds
# of short runs would pay again. The program's output goes through a file:
# Wine's own background processes, and programs the tested one starts (the
# installed product, the desktop), inherit its output and may outlive it,
# and a caller that reads until the end of its pipe would wait for them.
wineserver -p60 </dev/null >/dev/null 2>&1 || true
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
wine "$@" </dev/null >"$output" 2>&1
status=$?
cat "$output"
exit "$status"
