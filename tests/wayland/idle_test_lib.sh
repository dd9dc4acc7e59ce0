# Sourced by the idle waiter's tests, which define exec_as_user (their
# desktop's) and type_key, and set $work, pids and WAITER_LOG: where the
# waiter, run with WAYLAND_DEBUG=1, logs its requests and events.

# count <pattern>: lines of the log that have it; count_since <line>
# <pattern>: the same from that line on.
count() { grep -c -- "$1" "$WAITER_LOG"; }
count_since() { tail -n "+$1" "$WAITER_LOG" | grep -c -- "$2"; }
# The surfaces it holds: one for each output a showing covers, none while
# it waits.
live_surfaces() {
    echo $(($(count ' -> wl_compositor@[0-9]*\.create_surface(') - $(count ' -> wl_surface@[0-9]*\.destroy()')))
}
hidden() { [ "$(live_surfaces)" = 0 ]; }
# mark: where the next showing's lines start; shown <WxH>...: a showing is
# up, a surface on every output, each configured to its output's logical
# size (as a full-screen window or as an overlay) since the mark.
mark() { MARK=$(($(wc -l <"$WAITER_LOG") + 1)); }
shown() {
    local size need
    [ "$(live_surfaces)" = $# ] || return 1
    for size; do
        need=$(printf '%s\n' "$@" | grep -cx "$size")
        [ "$(count_since "$MARK" "configure(\([0-9]*, \)\?${size%x*}, ${size#*x}[,)]")" -ge "$need" ] || return 1
    done
}
key_ends_showing() { type_key && wait_until 2 hidden; }

# waiting_only <seconds>: over that time the saver never shows.
waiting_only() {
    local look
    for ((look = 0; look < $1 * 5; look++)); do
        hidden || return 1
        sleep 0.2
    done
}

# inhibit_idle / release_idle: a window holding an idle inhibitor, as a
# film player holds one (the inhibitor client, IDLE_INHIBITOR).
inhibit_idle() {
    exec_as_user "$IDLE_INHIBITOR" >"$work/inhibitor" 2>&1 &
    INHIBITOR=$!
    pids+=("$INHIBITOR")
    wait_until 30 grep -q inhibiting "$work/inhibitor" || {
        cat "$work/inhibitor" >&2
        return 1
    }
}
release_idle() { kill "$INHIBITOR"; }
