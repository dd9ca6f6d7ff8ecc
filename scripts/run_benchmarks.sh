#!/usr/bin/env bash
# Runs every benchmark of the build and prints its ratios against the raw database.
# Called by `make bench` beside a throw-away PostgreSQL server (SLOWNIK_TEST_PG_URL).
set -uo pipefail
build=${1:-build}
status=0
for bench in "$build"/bench/*_bench; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" || status=1
done
exit $status
