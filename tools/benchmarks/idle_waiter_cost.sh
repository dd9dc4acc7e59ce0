#!/bin/bash
# What quorbel-wayland --idle costs, under a private headless sway (one
# 1920x1080 output), read from /proc/PID: the CPU ticks (user + system, in
# USER_HZ) and VmRSS of the waiter
#   - waiting, fresh: over WAIT_SPAN (default 60 s) after a settle of 2 s,
#     its idle time 5 s longer. Aim: no tick, and a VmRSS of 8 MB at most;
#   - waiting after a showing (ended by a key), over WAIT_SPAN again:
#     nothing of the showing held (surfaces, buffers, sheet), no timer;
#   - showing, against the plain saver with the same options in turn
#     (A B A B, PAIRS rounds, default 2), each over SHOW_SPAN (default 15 s)
#     after a warm-up of 3 s, as a share of one core; min / median / max.
# Usage: tools/benchmarks/idle_waiter_cost.sh [native build folder]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
program=${QUORBEL_WAYLAND:-$build/wayland/quorbel-wayland}
wait_span=${WAIT_SPAN:-60}
show_span=${SHOW_SPAN:-15}
pairs=${PAIRS:-2}
showing=(--speed 19 --cell-size small --species 6)
# shellcheck source-path=SCRIPTDIR source=../ci/headless_sway.sh
. "$root/tools/ci/headless_sway.sh"

SAVER=""
stop_saver() {
    if [ -n "$SAVER" ]; then
        kill "$SAVER" 2>/dev/null || true
        wait "$SAVER" 2>/dev/null || true
        SAVER=""
    fi
}
trap 'stop_saver; stop_sway' EXIT

ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
# How many colours the output shows: 1 when black, more with sprites.
colours() { as_user grim -o HEADLESS-1 - 2>/dev/null | convert - -format '%k' info: 2>/dev/null || echo 0; }
until_true() {
    local limit=$((SECONDS + 30))
    until "$@"; do
        [ "$SECONDS" -ge "$limit" ] && echo "timed out waiting for: $*" >&2 && exit 1
        sleep 0.1
    done
}
covering() { [ "$(colours)" -gt 2 ]; }
uncovered() { [ "$(colours)" = 1 ]; }

# measure <seconds>: "ticks rss_kb" of $SAVER over that span.
measure() {
    local before after
    before=$(ticks "$SAVER")
    sleep "$1"
    after=$(ticks "$SAVER")
    echo "$((after - before)) $(rss_kb "$SAVER")"
}

start_saver() {
    exec_as_user "$program" "$@" 2>/dev/null &
    SAVER=$!
}

# share <ticks> <seconds>: percent of one core.
share() { awk -v t="$1" -v s="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", 100 * t / hz / s }'; }
summary() { sort -n | awk '{ v[NR] = $1 } END { printf "%s / %s / %s", v[1], v[int((NR + 1) / 2)], v[NR] }'; }

start_sway 1 "output HEADLESS-1 resolution 1920x1080" || exit 1

# One waiter, its idle time just past the span: waiting before its first
# showing, and again after a key has ended that showing.
idle=$((wait_span + 5))
start_saver --idle "$idle"
sleep 2
read -r fresh_ticks fresh_rss <<<"$(measure "$wait_span")"
until_true covering
key_ends() { as_user wtype -s 300 a && sleep 0.5 && uncovered; }
until_true key_ends
read -r after_ticks after_rss <<<"$(measure "$wait_span")"
stop_saver
megabytes() { awk -v k="$1" 'BEGIN { printf "%.1f MB", k / 1024 }'; }
echo "waiting, fresh:            $fresh_ticks CPU ticks in $wait_span s, VmRSS $(megabytes "$fresh_rss")"
echo "waiting, after a showing:  $after_ticks CPU ticks in $wait_span s, VmRSS $(megabytes "$after_rss")"

waiter_shares=() plain_shares=() waiter_rss=() plain_rss=()
for ((round = 1; round <= pairs; round++)); do
    start_saver --idle 1 "${showing[@]}"
    until_true covering
    sleep 3
    read -r t r <<<"$(measure "$show_span")"
    waiter_shares+=("$(share "$t" "$show_span")") waiter_rss+=("$((r / 1024))")
    stop_saver
    start_saver "${showing[@]}"
    until_true covering
    sleep 3
    read -r t r <<<"$(measure "$show_span")"
    plain_shares+=("$(share "$t" "$show_span")") plain_rss+=("$((r / 1024))")
    stop_saver
    until_true uncovered
done
echo "showing, waiter (% of a core, min / median / max): $(printf '%s\n' "${waiter_shares[@]}" | summary); VmRSS MB $(printf '%s\n' "${waiter_rss[@]}" | summary)"
echo "showing, plain saver:                             $(printf '%s\n' "${plain_shares[@]}" | summary); VmRSS MB $(printf '%s\n' "${plain_rss[@]}" | summary)"
