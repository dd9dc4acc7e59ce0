#!/bin/bash
# run.sh SECONDS [TARGET...]
#
# Builds the libFuzzer targets (clang, ASan+UBSan; see cmake/fuzzing.cmake)
# in <build>/fuzz and runs each for SECONDS, every target by default. The
# seeds in tests/fuzz/corpus/<target> are copied into a working corpus in
# <build>/fuzz/corpus/<target>, which later runs carry on from; findings go
# to <build>/fuzz/artifacts. Prints each target's executions, coverage and
# features, and exits non-zero if any target found a fault.
#
#   QUORBEL_FUZZ_JOBS  targets run at once (default 1)
#   QUORBEL_FUZZ_NICE  nice level of the runs (default 0)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUORBEL_BUILD_DIR:-$root/build}/fuzz
seconds=${1:?usage: run.sh SECONDS [TARGET...]}
shift
jobs=${QUORBEL_FUZZ_JOBS:-1}
niceness=${QUORBEL_FUZZ_NICE:-0}

"$root/tools/ci/install_deps.sh"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORBEL_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target quorbel_fuzz_targets >/dev/null

mkdir -p "$build/corpus" "$build/artifacts" "$build/logs"
wanted=" $* "

run_one() {  # run_one <name> <program> <seeds>
    local name=$1 program=$2 seeds=$3
    local corpus=$build/corpus/$name log=$build/logs/$name.log
    mkdir -p "$corpus"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
    # Inputs up to 64 KiB: long command lines, settings files, bitmaps. The
    # largest block any target may make is the biggest image a bitmap header
    # may ask for (2^15 x 2^15 bytes); anything above is a finding.
    if nice -n "$niceness" "$program" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -rss_limit_mb=3072 -malloc_limit_mb=1100 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$name-" "$corpus" >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
    fi
    local done_line runs
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n1 || true)
    runs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
    printf '%-18s %-6s runs %-10s %s\n' "$name" "$result" "${runs:-?}" \
        "$(echo "$done_line" | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*' || echo "see $log")"
    [ "$result" = passed ] || { grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" | head -n 5; return 1; }
}

status=0
pids=()
while read -r name program seeds; do
    if [ "$wanted" != "  " ] && [[ "$wanted" != *" $name "* ]]; then
        continue
    fi
    run_one "$name" "$program" "$seeds" &
    pids+=($!)
    if [ "${#pids[@]}" -ge "$jobs" ]; then
        wait "${pids[0]}" || status=1
        pids=("${pids[@]:1}")
    fi
done <"$build/fuzz_targets.txt"
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
[ $status -eq 0 ] && echo "fuzzing: no findings" || echo "fuzzing: findings in $build/artifacts (logs in $build/logs)"
exit $status
