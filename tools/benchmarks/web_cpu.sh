#!/bin/bash
# The web page's CPU against the native savers, in one run: the page in
# headless Chromium (every process of the browser counted), quorbel --root
# and XScreenSaver's Cloud Life (each with its own Xvfb counted), all at
# 1920x1080 in the scene of side_by_side_cpu.sh (small wriggling cells at
# Speed 19, 28 ms a tick; Cloud Life at 28 ms with 16-pixel cells), in
# interleaved rounds. Then the time from the start of loading to the end of
# the first tick, over several loads.
#
# Headless Chromium is not a desktop browser: with --disable-gpu it draws
# and composites in software and shows nothing, so its figure says what the
# page's own work costs, not what a desktop with a GPU would pay.
#
# Usage: tools/benchmarks/web_cpu.sh [native build folder] [web build folder]
#   WARMUP=seconds SPAN=seconds ROUNDS=n LOADS=n change the defaults (3, 15, 2, 5).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
native=${1:-$root/build/native}
web=${2:-$root/build/web}
page=$web/web/quorbel.html
warmup=${WARMUP:-3}
span=${SPAN:-15}
rounds=${ROUNDS:-2}
loads=${LOADS:-5}
scene=(--speed 19 --cell-size small --wriggle on --seed 1)
query="speed=19&cell-size=small&wriggle=on&seed=1"
# shellcheck source-path=SCRIPTDIR source=../ci/xvfb_display.sh
. "$root/tools/ci/xvfb_display.sh"

for needed in "$page" "$native/x11/quorbel" /usr/libexec/xscreensaver/cloudlife; do
    [ -e "$needed" ] || { echo "missing: $needed" >&2; exit 2; }
done

PROGRAM_PID=""
BROWSER_DRIVER=""
stop_all() {
    [ -n "$PROGRAM_PID" ] && { kill "$PROGRAM_PID" 2>/dev/null || true; wait "$PROGRAM_PID" 2>/dev/null || true; }
    PROGRAM_PID=""
    if [ -n "$BROWSER_DRIVER" ]; then
        kill "$BROWSER_DRIVER" 2>/dev/null || true
        wait "$BROWSER_DRIVER" 2>/dev/null || true
        BROWSER_DRIVER=""
    fi
    stop_xvfb
}
trap stop_all EXIT

# The process and all its descendants.
tree() {
    local pids=("$1") i=0
    while [ $i -lt ${#pids[@]} ]; do
        # shellcheck disable=SC2207
        pids+=($(pgrep -P "${pids[i]}" || true))
        i=$((i + 1))
    done
    echo "${pids[@]}"
}

# "pid ticks kind" a line: user + system clock ticks of each process given,
# and its kind (Chromium's --type, else its name).
snapshot() {
    local pid kind
    for pid in "$@"; do
        # Chromium rewrites its helpers' command lines as one string.
        kind=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -o -- '--type=[a-z-]*' | head -n1 || true)
        kind=${kind#--type=}
        kind=${kind:-$(cat "/proc/$pid/comm" 2>/dev/null)}
        sed 's/^.*) //' "/proc/$pid/stat" 2>/dev/null | awk -v p="$pid" -v k="$kind" '{print p, $12 + $13, k}' || true
    done
}

# Ticks from the first snapshot to the second, then each kind's ticks;
# processes born in between count whole, and those gone are reported
# (their last span is lost).
spent() {
    awk 'NR == FNR { before[$1] = $2; next }
         { d = $2 - before[$1]; total += d; kind[$3] += d; seen[$1] = 1 }
         END { for (p in before) if (!(p in seen)) gone++;
               if (gone) printf "(%d process(es) ended during the span) ", gone > "/dev/stderr";
               printf "%d", total; for (k in kind) printf " %s:%d", k, kind[k]; print "" }' "$1" "$2"
}

share() { awk -v p="$1" -v hz="$(getconf CLK_TCK)" -v t="$span" 'BEGIN {printf "%.1f", 100 * p / hz / t}'; }

# measure <label> <root pid> [more pids]: the share of a core the processes
# (and their descendants) take over the span; left in SHARE.
measure() {
    local label=$1 before after
    shift
    before=$(mktemp)
    after=$(mktemp)
    sleep "$warmup"
    # shellcheck disable=SC2046
    snapshot $(for p in "$@"; do tree "$p"; done) >"$before"
    sleep "$span"
    # shellcheck disable=SC2046
    snapshot $(for p in "$@"; do tree "$p"; done) >"$after"
    local ticks parts part breakdown=""
    read -r ticks parts <<<"$(spent "$before" "$after")"
    SHARE=$(share "$ticks")
    for part in $parts; do
        breakdown+="${breakdown:+, }${part%%:*} $(share "${part#*:}")%"
    done
    rm -f "$before" "$after"
    printf "  %-58s %5.1f%% of a core\n      (%s)\n" "$label" "$SHARE" "$breakdown"
}

declare -A total
for round in $(seq 1 "$rounds"); do
    echo "== round $round, 1920x1080, warm-up ${warmup} s, span ${span} s"
    coproc BROWSER { exec node --experimental-websocket "$root/tools/benchmarks/web_page.js" run "$page" "$query" 1920 1080 2>/dev/null; }
    BROWSER_DRIVER=$BROWSER_PID
    read -r _ chromium <&"${BROWSER[0]}"
    measure "web page, headless Chromium (all its processes)" "$chromium"
    total[web]=$(awk -v a="${total[web]:-0}" -v b="$SHARE" 'BEGIN {print a + b}')
    stop_all

    start_xvfb 1920x1080x24
    DISPLAY=$XVFB_DISPLAY "$native/x11/quorbel" --root "${scene[@]}" &
    PROGRAM_PID=$!
    measure "quorbel --root ${scene[*]} (with Xvfb)" "$PROGRAM_PID" "$XVFB_PID"
    total[quorbel]=$(awk -v a="${total[quorbel]:-0}" -v b="$SHARE" 'BEGIN {print a + b}')
    stop_all

    start_xvfb 1920x1080x24
    DISPLAY=$XVFB_DISPLAY /usr/libexec/xscreensaver/cloudlife -root --cycle-delay 28000 --cell-size 4 &
    PROGRAM_PID=$!
    measure "Cloud Life, 28 ms, 16-pixel cells (with Xvfb)" "$PROGRAM_PID" "$XVFB_PID"
    total[cloudlife]=$(awk -v a="${total[cloudlife]:-0}" -v b="$SHARE" 'BEGIN {print a + b}')
    stop_all
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
echo "== over $rounds round(s): web page / quorbel $(ratio "${total[web]}" "${total[quorbel]}")," \
    "web page / Cloud Life $(ratio "${total[web]}" "${total[cloudlife]}")"

echo "== from loading to ready (sheet drawn, world made) and to the first tick's end, 1920x1080, Speed 19, $loads loads (ms):"
node --experimental-websocket "$root/tools/benchmarks/web_page.js" first-tick "$page" "$loads" 2>/dev/null |
    sort -n -k2 | awk '{ r[NR] = $1; f[NR] = $2; printf "  %s/%s", $1, $2 }
        END { m = int((NR + 1) / 2); printf "\n  median of the first ticks: %s ms (ready at %s ms)\n", f[m], r[m] }'
