#!/bin/bash
# The CPU a screen saver costs, program and X server together, measured side
# by side with other savers. Each contestant runs alone on a fresh Xvfb of
# the scene's size; after a warm-up (3 s) the user + system time of its
# processes and of its Xvfb is counted over a span (15 s) from /proc/PID/stat
# and printed as a share of one core.
#
# Usage: tools/benchmarks/side_by_side_cpu.sh [native build folder]
#   WARMUP=seconds SPAN=seconds change the times.
#
# A contestant is a function start_<name> <display>: it starts the program on
# that display and sets CONTESTANT_PIDS to the processes whose time counts as
# the program's (more than one for a program with helpers of its own).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
warmup=${WARMUP:-3}
span=${SPAN:-15}
. "$root/tools/ci/xvfb_display.sh"

CONTESTANT_PIDS=()
stop_contestant() {
    local pid
    for pid in "${CONTESTANT_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    CONTESTANT_PIDS=()
}
trap 'stop_contestant; stop_xvfb' EXIT

# quorbel --root with the given settings options.
start_quorbel() {
    local display=$1
    shift
    DISPLAY=$display "$build/x11/quorbel" --root "$@" &
    CONTESTANT_PIDS=($!)
}

# XScreenSaver's Cloud Life (xscreensaver-data-extra). Its --cell-size is a
# power of two: 4 gives 16-pixel cells (16 would give cells of 65536 pixels,
# and a black screen).
start_cloudlife() {
    local display=$1
    shift
    DISPLAY=$display /usr/libexec/xscreensaver/cloudlife -root "$@" &
    CONTESTANT_PIDS=($!)
}

# Clock ticks of user + system time of the processes given.
cpu_ticks() {
    local pid total=0
    for pid in "$@"; do
        # Fields 14 and 15, counted after the name in parentheses.
        total=$((total + $(sed 's/^.*) //' "/proc/$pid/stat" | awk '{print $12 + $13}')))
    done
    echo "$total"
}

# measure <size> <contestant> [options...]: prints the program's, the
# server's and the total share of a core, and leaves the total in SHARE.
measure() {
    local size=$1 contestant=$2
    shift 2
    start_xvfb "${size}x24"
    "start_$contestant" "$XVFB_DISPLAY" "$@"
    sleep "$warmup"
    local program0 server0 program1 server1
    program0=$(cpu_ticks "${CONTESTANT_PIDS[@]}")
    server0=$(cpu_ticks "$XVFB_PID")
    sleep "$span"
    program1=$(cpu_ticks "${CONTESTANT_PIDS[@]}")
    server1=$(cpu_ticks "$XVFB_PID")
    stop_contestant
    stop_xvfb
    local hz
    hz=$(getconf CLK_TCK)
    SHARE=$(awk -v p=$((program1 - program0)) -v s=$((server1 - server0)) -v hz="$hz" -v t="$span" \
        'BEGIN {printf "%.1f", 100 * (p + s) / hz / t}')
    awk -v p=$((program1 - program0)) -v s=$((server1 - server0)) -v hz="$hz" -v t="$span" \
        -v name="$contestant $*" 'BEGIN {
            printf "  %-62s program %5.1f%%  X server %5.1f%%  total %5.1f%% of a core\n",
                name, 100 * p / hz / t, 100 * s / hz / t, 100 * (p + s) / hz / t }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

echo "== 1920x1080, 28 ms per tick: quorbel small wriggling cells against Cloud Life with 16-pixel cells"
measure 1920x1080 quorbel --speed 19 --cell-size small --wriggle on --seed 1
quorbel_share=$SHARE
measure 1920x1080 cloudlife --cycle-delay 28000 --cell-size 4
cloudlife_share=$SHARE
echo "  quorbel / Cloud Life: $(ratio "$quorbel_share" "$cloudlife_share") (at most 1, aiming for 0.5)"

echo "== 3840x2160, worst case: no Life rules, so every cell wriggles in every tick"
measure 3840x2160 quorbel --speed 19 --cell-size small --wriggle on --life off --generations 4294967295 --seed 1
echo "  quorbel / half a core: $(ratio "$SHARE" 50) (at most 1)"
