#!/bin/bash
# quorbel-render's speed on the two runs it is meant for, each against the
# same ticks drawn with no per-tick output (only the last frame, as a PNG to
# /dev/null), timed in this same run:
#   - 10,000 ticks of the defaults at 1920x1080, traced to /dev/null
#     (target: under 1 s);
#   - 300 ticks of six wriggling species at 640x360 as an animated GIF
#     (target: under 1 s).
# Prints the median wall time of several runs of each and the ratio.
#
#   tools/benchmarks/render_benchmark.sh [build folder, default build/native] [runs, default 7]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
runs=${2:-7}
render=$build/render/quorbel-render
if [ ! -x "$render" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target quorbel-render -j "$(nproc)" >/dev/null
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Median wall seconds of $runs runs (after one unmeasured run).
median_seconds() {
    "$@" >/dev/null
    local times=() start end
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        times+=("$(( end - start ))")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", t[int((NR + 1) / 2)] / 1e9 }'
}

report() {  # report <what> <seconds> <reference seconds> <target seconds>
    awk -v what="$1" -v s="$2" -v r="$3" -v target="$4" 'BEGIN {
        printf "%-58s %6.3f s  (drawn, last frame only: %6.3f s; ratio %5.2f)  target < %s s: %s\n",
               what, s, r, s / r, target, (s < target ? "met" : "NOT MET") }'
}

echo "quorbel-render at $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?'), median of $runs runs"

common=(--quiet --seed 1 --resolution 1920x1080 --ticks 10000)
trace=$(median_seconds "$render" "${common[@]}" --trace /dev/null)
bare=$(median_seconds "$render" "${common[@]}" --png /dev/null)
report "10000 ticks, defaults, 1920x1080, --trace /dev/null" "$trace" "$bare" 1
lines=$("$render" "${common[@]}" --trace - | wc -l)
echo "    ($lines trace lines)"

common=(--quiet --seed 1 --resolution 640x360 --ticks 300 --species 6 --wriggle on)
gif=$(median_seconds "$render" "${common[@]}" --gif "$scratch/run.gif")
bare=$(median_seconds "$render" "${common[@]}" --png /dev/null)
report "300 ticks, six wriggling species, 640x360, --gif" "$gif" "$bare" 1
echo "    ($(stat -c %s "$scratch/run.gif") bytes of GIF)"
