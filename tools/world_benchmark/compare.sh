#!/bin/bash
# Two builds of world_step_benchmark side by side: runs them interleaved,
# A B A B, and prints for each case the min / median / max of the per-run
# medians (CPU ns per step), then the instructions per step of each under
# callgrind (a fixed number of steps, so the count repeats run to run).
#   tools/world_benchmark/compare.sh BEFORE_BINARY AFTER_BINARY [PAIRS]
set -euo pipefail
a=$1
b=$2
pairs=${3:-5}
steps=200
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for ((i = 1; i <= pairs; i++)); do
    for side in a b; do
        "${!side}" --benchmark_filter='BM_WorldStep/(small|worst)' --benchmark_out_format=csv \
            --benchmark_out="$out/$side.$i.csv" >/dev/null 2>&1
    done
done

# name,iterations,real_time,cpu_time,...: the median row of each case.
summary() {
    for case in small worst; do
        grep -h "BM_WorldStep/${case}.*_median\"" "$out"/"$1".*.csv | cut -d, -f4 | sort -g |
            awk -v label="$1 $case" '{ v[NR] = $1 }
                END { printf "%-8s min %9.0f  median %9.0f  max %9.0f ns\n", label, v[1], v[int((NR + 1) / 2)], v[NR] }'
    done
}
echo "CPU time per step over $pairs interleaved pairs (A = $a, B = $b):"
summary a
summary b

echo "Instructions per step under callgrind ($steps steps after the warm-up):"
for case in small worst; do
    for side in a b; do
        valgrind --tool=callgrind --callgrind-out-file="$out/$side.cg" --toggle-collect='World::step()' \
            "${!side}" --steps=$steps $case >"$out/$side.steps" 2>/dev/null
        total=$(callgrind_annotate "$out/$side.cg" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(/,/, "", $1); print $1 }')
        echo "$side $case: $((total / steps)) instructions per step; $(cat "$out/$side.steps")"
    done
done
