#!/bin/sh
# Runs the benchmarks built by `make bench`. The generated archives are kept
# beside the build (bench-data) and reused by later runs.
# Usage: scripts/bench.sh BIN_DIR [RUNS]
#
# Each program prints lines of the one table; a program's closing "ratios:"
# line is held back, and the ratios of all of them end the output as one
# line. The exit status is that of the last program that failed, 0 when none did.
set -eu
bin="${1:?usage: scripts/bench.sh BIN_DIR [RUNS]}"
runs="${2:-11}"
data="$(cd "$bin/.." && pwd)/bench-data"
mkdir -p "$data"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
status=0
ratios=""

# Runs one program, prints its table lines and keeps its ratios.
run() {
    code=0
    "$@" >"$out" || code=$?
    [ "$code" -eq 0 ] || status=$code
    last="$(tail -n 1 "$out")"
    case "$last" in
    ratios:*)
        sed '$d' "$out"
        ratios="$ratios ${last#ratios:}"
        ;;
    *) cat "$out" ;;
    esac
}

run "$bin/varnot-bench" --data "$data" --runs "$runs"
run "$bin/varnot-announce-bench"
run "$bin/varnot-window-bench" --data "$data" --runs "$runs"
echo "ratios:$(echo "$ratios" | tr -s ' ')"
exit "$status"
