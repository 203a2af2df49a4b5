#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`) and runs each from its seeds.
#
#   scripts/fuzz.sh [--seconds N] [TARGET...]
#
# Default: 10 seconds per target (the short run of the test command); give a
# larger N for a long run. New inputs go to build/fuzz/corpus/<target>, the
# checked-in seeds in fuzz/corpus/<target> stay as they are; a failing input
# is kept as build/fuzz/crash-<target>-*. Exits non-zero when a target fails.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=10
targets=()
while [[ $# -gt 0 ]]; do
    case $1 in
    --seconds)
        seconds=$2
        shift 2
        ;;
    *)
        targets+=("$1")
        shift
        ;;
    esac
done

if ! { cmake --preset fuzz && cmake --build --preset fuzz; } >"$root/build/fuzz-build.log" 2>&1; then
    echo "fuzz: build FAILED (log: build/fuzz-build.log)"
    grep -E 'error' "$root/build/fuzz-build.log" | head -20
    exit 1
fi

if [[ ${#targets[@]} -eq 0 ]]; then
    for seeds in "$root"/fuzz/corpus/*/; do
        targets+=("$(basename "$seeds")")
    done
fi

status=0
for target in "${targets[@]}"; do
    exe="$root/build/fuzz/fuzz/fuzz_$target"
    work="$root/build/fuzz/corpus/$target"
    mkdir -p "$work"
    log="$root/build/fuzz/$target.log"
    if "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$root/build/fuzz/crash-$target-" "$work" "$root/fuzz/corpus/$target" \
        >"$log" 2>&1; then
        runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log")
        echo "fuzz: $target ok (${runs:-?} runs in ${seconds}s)"
    else
        echo "fuzz: $target FAILED (log: build/fuzz/$target.log)"
        grep -E 'ERROR|property failed|SUMMARY' "$log" | head -10
        status=1
    fi
done
exit $status
