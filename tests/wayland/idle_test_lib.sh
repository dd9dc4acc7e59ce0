# Sourced by the idle waiter's tests, which define exec_as_user (their
# desktop's), hidden (true while the saver shows nowhere), $work and pids.

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
