#!/usr/bin/env bash
# Stores what the screenshot tests draw now as their reference pictures
# (tests/references/), on purpose: after a change of look that a person has
# checked. Look at what changed before committing it:
#   git status tests/references; and open the pictures.
#
#   scripts/update-references.sh [preset] [test-name-regex]
# The preset defaults to "default", the regex to every test whose name holds
# "Screenshot".
set -euo pipefail

preset="${1:-default}"
pattern="${2:-Screenshot}"
cd "$(dirname "$0")/.."

cmake --preset "$preset" >/dev/null
nice -n 10 cmake --build --preset "$preset"
OSTREL_UPDATE_REFERENCES=1 ctest --preset "$preset" -R "$pattern" --output-on-failure
git status --short tests/references
