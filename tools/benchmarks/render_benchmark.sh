#!/bin/bash
# quorbel-render's speed on the two runs it is meant for, each timed against
# a yardstick in interleaved pairs (A B A B ..., one unmeasured pair first):
#   - 10,000 ticks of the defaults at 1920x1080, traced to /dev/null;
#   - 300 ticks of six wriggling species at 640x360 as an animated GIF;
#   - the README's animation as a GIF (its size);
#   - 300 ticks of the worst case (every cell redrawn every tick) at
#     3840x2160, scales 2, 3 and 4, each picture drawn, none written (a PNG
#     of the last to /dev/null): the cost of enlarging sprites as they are
#     copied.
# The yardstick is another build of the program when REFERENCE names one
# (for before/after figures: the trace must be byte for byte the same and
# the GIF must decode to the same frames), else the same ticks drawn with no
# per-tick output (only the last frame, as a PNG to /dev/null), and for the
# scaled runs the same ticks not drawn at all (a trace to /dev/null).
# Prints min/median/max of each side's wall seconds and of the ratio A/B.
#
#   [REFERENCE=old/quorbel-render] tools/benchmarks/render_benchmark.sh [build folder, default build/native] [pairs, default 7]
#
# Profile a run with
#   perf record -o /tmp/render.perf build/native/render/quorbel-render --quiet --seed 1 \
#       --resolution 1920x1080 --ticks 10000 --trace /dev/null && perf report -i /tmp/render.perf
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
pairs=${2:-7}
render=$build/render/quorbel-render
reference=${REFERENCE:-}
if [ ! -x "$render" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target quorbel-render -j "$(nproc)" >/dev/null
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

now() { date +%s%N; }

# interleaved "<A command>" "<B command>": one line of min/median/max for A,
# B and A/B (commands as words, run without a shell).
interleaved() {
    local a=$1 b=$2 ta=() tb=() start
    $a >/dev/null
    $b >/dev/null
    for _ in $(seq "$pairs"); do
        start=$(now); $a >/dev/null; ta+=("$(( $(now) - start ))")
        start=$(now); $b >/dev/null; tb+=("$(( $(now) - start ))")
    done
    paste <(printf '%s\n' "${ta[@]}") <(printf '%s\n' "${tb[@]}") | awk '
        function stats(v, n,   i, j, t, s) {
            for (i = 1; i <= n; i++) s[i] = v[i]
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (s[j] < s[i]) { t = s[i]; s[i] = s[j]; s[j] = t }
            return sprintf("%.3f/%.3f/%.3f", s[1], s[int((n + 1) / 2)], s[n])
        }
        { a[NR] = $1 / 1e9; b[NR] = $2 / 1e9; r[NR] = $1 / $2 }
        END { printf "A %s s  B %s s  A/B %s (min/median/max of %d pairs)\n", stats(a, NR), stats(b, NR), stats(r, NR), NR }'
}

echo "quorbel-render at $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?')"
echo "A: $render"
echo "B: ${reference:-the same program drawing the last frame only}"

trace_run="--quiet --seed 1 --resolution 1920x1080 --ticks 10000"
gif_run="--quiet --seed 1 --resolution 640x360 --ticks 300 --species 6 --wriggle on"
readme_run="--quiet --seed 2 --resolution 640x360 --species 6 --wriggle on --wrap on --generations 60 --speed 16 --ticks 150"
if [ -n "$reference" ]; then
    b_trace="$reference $trace_run --trace /dev/null"
    b_gif="$reference $gif_run --gif $scratch/b.gif"
else
    b_trace="$render $trace_run --png /dev/null"
    b_gif="$render $gif_run --png /dev/null"
fi

echo "10000 ticks, defaults, 1920x1080, --trace /dev/null (target A/B <= 0.67 against the build before):"
echo "    $(interleaved "$render $trace_run --trace /dev/null" "$b_trace")"
lines=$($render $trace_run --trace - | tee >(md5sum >"$scratch/a.md5") | wc -l)
echo "    ($lines trace lines)"
if [ -n "$reference" ]; then
    $reference $trace_run --trace - | md5sum >"$scratch/b.md5"
    cmp -s "$scratch/a.md5" "$scratch/b.md5" && echo "    traces byte for byte the same" || echo "    TRACES DIFFER"
fi

echo "300 ticks, six wriggling species, 640x360, --gif:"
echo "    $(interleaved "$render $gif_run --gif $scratch/a.gif" "$b_gif")"

# shellcheck disable=SC2086
$render $readme_run --gif "$scratch/readme_a.gif"
echo "The README's animation: $(stat -c %s "$scratch/readme_a.gif") bytes of GIF"
if [ -n "$reference" ]; then
    # shellcheck disable=SC2086
    $reference $readme_run --gif "$scratch/readme_b.gif"
    echo "    before: $(stat -c %s "$scratch/readme_b.gif") bytes"
    if command -v convert >/dev/null; then
        same=$(cmp -s <(convert "$scratch/readme_a.gif" -coalesce -depth 8 rgb:-) \
            <(convert "$scratch/readme_b.gif" -coalesce -depth 8 rgb:-) && echo same || echo DIFFERENT)
        echo "    frames decoded by ImageMagick: $same"
    fi
fi

worst_run="--quiet --seed 1 --resolution 3840x2160 --ticks 300 --speed 19 --cell-size small --wriggle on --life off --generations 4294967295"
for scale in 2 3 4; do
    if [ -n "$reference" ]; then
        b_worst="$reference $worst_run --scale $scale --png /dev/null"
    else
        b_worst="$render $worst_run --scale $scale --trace /dev/null"
    fi
    echo "300 ticks, worst case, 3840x2160 at scale $scale, --png /dev/null:"
    echo "    $(interleaved "$render $worst_run --scale $scale --png /dev/null" "$b_worst")"
done
