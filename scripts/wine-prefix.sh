#!/usr/bin/env bash
# Makes the Wine prefix that the Windows build's tests run in, once: the
# caller's environment names it (WINEPREFIX, HOME, WINEDEBUG, ...). Windows
# get Wine's null display driver, so tests that make windows need no X server.
set -euo pipefail
root="$1"
rm -rf "$WINEPREFIX" "$HOME"
mkdir -p "$HOME/Desktop" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
cd "$root"
wineboot --init >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
wineserver --wait
test -f "$WINEPREFIX/system.reg"
