#!/usr/bin/env bash
# Installs the system packages, builds everything and starts the packed setup
# program. Without a display it runs under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default
cmake --build --preset default

setup=build/default/OstrelSetup
echo "Starting $setup $*"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$setup" "$@"
fi
exec "$setup" "$@"
