#!/bin/sh
# Stands in for the extractor of a setup whose installation a test holds
# open: it says it started, waits until the test lets it go (at most two
# minutes), then runs the real extractor with the setup's own words.
: > "$OSTREL_TEST_EXTRACTOR_STARTED"
tries=0
while [ ! -e "$OSTREL_TEST_EXTRACTOR_GATE" ] && [ "$tries" -lt 1200 ]; do
  sleep 0.1
  tries=$((tries + 1))
done
exec "$OSTREL_TEST_REAL_EXTRACTOR" "$@"
