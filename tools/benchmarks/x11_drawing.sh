#!/bin/bash
# The X11 saver's two ways of drawing, each scene on a fresh Xvfb:
#   1920x1080, speed 19, small wriggling cells (the Cloud Life comparison)
#   3840x2160, the same without the Life rules: every cell wriggles
# Prints the CPU per tick of the program and of the X server for each way.
# Usage: tools/benchmarks/x11_drawing.sh [build folder]   (default build/native)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
benchmark=$build/tools/benchmarks/x11_drawing_benchmark
. "$root/tools/ci/xvfb_display.sh"
trap stop_xvfb EXIT

scene() {  # scene <WxH> <title> [--no-shm] [quorbel options...]
    local size=$1 title=$2
    shift 2
    local xvfb_args=()
    if [ "${1:-}" = "--no-shm" ]; then
        xvfb_args=(-extension MIT-SHM)
        shift
    fi
    echo "== $title"
    start_xvfb "${size}x24" "${xvfb_args[@]}"
    "$benchmark" --display "$XVFB_DISPLAY" --server-pid "$XVFB_PID" "$@"
    stop_xvfb
}

small_wriggle=(--speed 19 --cell-size small --wriggle on --seed 1)
scene 1920x1080 "1920x1080, small wriggling cells" "${small_wriggle[@]}"
scene 3840x2160 "3840x2160, no Life rules: every cell wriggles" \
    "${small_wriggle[@]}" --life off --generations 100000
scene 1920x1080 "1920x1080, small wriggling cells, server without MIT-SHM" --no-shm "${small_wriggle[@]}"
