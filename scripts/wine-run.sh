#!/usr/bin/env bash
# Runs a Windows program of the build under Wine; the caller's environment
# names the prefix. Wine's server is kept for a minute after its last
# program: starting it anew costs seconds, which each of the tests' hundreds
# of short runs would pay again. The first program of a new server also
# starts Wine's own background services, which would keep the caller's
# output open for that minute; a program with no output starts them instead.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
fi
exec wine "$@"
