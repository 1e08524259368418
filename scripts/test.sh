#!/usr/bin/env bash
# Installs the system packages, builds with the given preset (default:
# "default") and runs the whole test suite through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

scripts/install-deps.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
ctest --preset "$preset"
