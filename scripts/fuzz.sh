#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a while, one after another,
# and prints one line per target: runs, corpus size, crashes.
#   scripts/fuzz.sh BUILD-DIR SECONDS [TARGET...]
# Each target starts from its seed corpus in fuzz/corpus/<target> and grows
# a working corpus in BUILD-DIR/corpus/<target>, kept between runs; an input
# that breaks a property or crashes lands in BUILD-DIR/crashes/<target>/.
set -uo pipefail
build=${1:?usage: fuzz.sh BUILD-DIR SECONDS [TARGET...]}
seconds=${2:?usage: fuzz.sh BUILD-DIR SECONDS [TARGET...]}
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(settings_file marks_file announce_protocol masks sectioned_file code_pages
             keyword_scanner text_search)
fi

# Inputs long enough to pass the 4096-byte line limits of the file formats.
max_len() {
    case $1 in
        marks_file | sectioned_file | announce_protocol) echo 9000 ;;
        *) echo 4096 ;;
    esac
}

failed=0
for target in "${targets[@]}"; do
    program=$build/bin/fuzz_$target
    corpus=$build/corpus/$target
    crashes=$build/crashes/$target
    log=$build/logs/$target.log
    mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
    "$program" -max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=20 \
        -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$corpus" "$source_dir/fuzz/corpus/$target" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    found=$(find "$crashes" -type f | wc -l)
    size=$(find "$corpus" -type f | wc -l)
    line=$(printf '%-18s runs %10s  corpus %5s  crashes %s' "$target" "${runs:-?}" "$size" "$found")
    echo "$line"
    if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=1
        echo "  see $log and $crashes/" >&2
    fi
done
exit $failed
