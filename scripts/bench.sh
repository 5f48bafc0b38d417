#!/bin/sh
# Runs the benchmarks built by `make bench`. The generated archives are kept
# beside the build (bench-data) and reused by later runs.
# Usage: scripts/bench.sh BIN_DIR [RUNS]
set -eu
bin="${1:?usage: scripts/bench.sh BIN_DIR [RUNS]}"
runs="${2:-11}"
data="$(cd "$bin/.." && pwd)/bench-data"
mkdir -p "$data"
# The announce line joins the table before its closing "ratios:" line, which
# stays the last line of the output.
table="$(mktemp)"
trap 'rm -f "$table"' EXIT
"$bin/varnot-bench" --data "$data" --runs "$runs" >"$table"
sed '$d' "$table"
status=0
"$bin/varnot-announce-bench" || status=$?
tail -n 1 "$table"
exit "$status"
