#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`) and runs each from its seeds.
#
#   scripts/fuzz.sh [--seconds N] [TARGET...]
#   scripts/fuzz.sh --nightly SECONDS [TARGET...]
#
# Default: 10 seconds per target (the short run of the test command); give a
# larger N for a long run. --nightly runs each target for SECONDS (600 for
# the nightly run) and also reports its executions per second and whether it
# reached the goal of 10 million executions in 10 minutes (the rate is what
# counts, so a shorter run is projected to 600 s), per wall second and per
# second of the fuzzer's processor time (what an idle core would give); the
# figures go to build/fuzz/nightly.txt as well. New inputs go to build/fuzz/corpus/<target>,
# the checked-in seeds in fuzz/corpus/<target> stay as they are; a failing
# input is kept as build/fuzz/crash-<target>-*. Exits non-zero when a target
# fails (a crash or a property); a target below the goal is reported, not
# failed, as the rate depends on the machine's load.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)

seconds=10
nightly=0
targets=()
while [[ $# -gt 0 ]]; do
    case $1 in
    --seconds)
        seconds=$2
        shift 2
        ;;
    --nightly)
        nightly=1
        seconds=${2:?--nightly needs the seconds per target}
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

# The nightly goal: 10 million executions in 600 seconds.
goal_runs=10000000
goal_seconds=600
summary="$root/build/fuzz/nightly.txt"
if [[ $nightly -eq 1 ]]; then
    echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)" >"$summary"
    printf '%-16s %10s %8s %11s %9s %12s %8s %8s\n' target runs seconds exec/s 'in 600 s' \
        'exec/cpu-s' 'in 600 s' goal >>"$summary"
fi

status=0
for target in "${targets[@]}"; do
    exe="$root/build/fuzz/fuzz/fuzz_$target"
    work="$root/build/fuzz/corpus/$target"
    mkdir -p "$work"
    log="$root/build/fuzz/$target.log"
    # Nightly: the fuzzer's processor time as well as the wall time, as on a
    # loaded machine the rate per processor second is what an idle core gives.
    timed=()
    if [[ $nightly -eq 1 ]]; then
        timed=(/usr/bin/time -f '%e %U %S' -o "$log.time")
    fi
    if "${timed[@]}" \
        "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$root/build/fuzz/crash-$target-" "$work" "$root/fuzz/corpus/$target" \
        >"$log" 2>&1; then
        runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log")
        echo "fuzz: $target ok (${runs:-?} runs in ${seconds}s)"
        if [[ $nightly -eq 1 && -n $runs ]]; then
            read -r wall user system <"$log.time"
            # Executions per wall second and per processor second (user and
            # system time of the fuzzer), each projected to 600 s.
            rate=$(awk -v r="$runs" -v t="$wall" 'BEGIN { printf "%d", r / (t > 0 ? t : 1) }')
            cpu_rate=$(awk -v r="$runs" -v u="$user" -v s="$system" \
                'BEGIN { t = u + s; printf "%d", r / (t > 0 ? t : 1) }')
            projected=$((rate * goal_seconds))
            cpu_projected=$((cpu_rate * goal_seconds))
            verdict=reached
            if [[ $projected -lt $goal_runs ]]; then
                verdict=BELOW
            fi
            cpu_verdict=reached
            if [[ $cpu_projected -lt $goal_runs ]]; then
                cpu_verdict=BELOW
            fi
            echo "fuzz: $target $rate exec/s ($cpu_rate per processor second): goal $verdict" \
                "($cpu_verdict on an idle core)"
            printf '%-16s %10s %8s %11s %9s %12s %8s %8s\n' "$target" "$runs" "$wall" "$rate" \
                "$projected" "$cpu_rate" "$cpu_projected" "$verdict/$cpu_verdict" >>"$summary"
        fi
    else
        echo "fuzz: $target FAILED (log: build/fuzz/$target.log)"
        if [[ $nightly -eq 1 ]]; then
            printf '%-16s FAILED (build/fuzz/%s.log)\n' "$target" "$target" >>"$summary"
        fi
        grep -E 'ERROR|property failed|SUMMARY' "$log" | head -10
        status=1
    fi
done
exit $status
