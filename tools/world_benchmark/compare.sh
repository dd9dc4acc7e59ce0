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
        "${!side}" --benchmark_filter='BM_WorldStep/(small|worst)' --benchmark_format=csv \
            >"$out/$side.$i.csv" 2>/dev/null
    done
done

# name,iterations,real_time,cpu_time,...: the median rows of each case.
summary() {
    grep -h '_median"' "$out"/"$1".*.csv | awk -F, -v side="$1" '
        { gsub(/"/, "", $1); sub(/\/repeats.*/, "", $1); t[$1] = t[$1] " " $4 }
        END {
            for (c in t) {
                n = split(substr(t[c], 2), v, " ")
                asort(v)
                printf "%s %-32s min %9.0f  median %9.0f  max %9.0f ns\n", side, c, v[1], v[int((n + 1) / 2)], v[n]
            }
        }' | sort -k2
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
