# Sourced by the idle waiter's tests, which define as_user and exec_as_user
# (their desktop's), type_key and start_waiter (which sets SAVER), and set
# $work, pids, DESKTOP_PID, WAITER_LOCK and WAITER_LOG: where the waiter,
# run with WAYLAND_DEBUG=1, logs its requests and events.

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

gone() { ! kill -0 "$1" 2>/dev/null; }
each_showing() { :; }  # a test's own look at each of the first two showings

# check_waiter <inhibit> <release> <WxH>...: a waiter's life on a desktop
# with outputs of those logical sizes: nothing before the idle time, then a
# showing; a key ends it and it comes again; a second waiter is refused; an
# inhibition (commands that hold and release it) keeps it away until
# released; the compositor's end ends it with 0, quietly, leaving no lock.
check_waiter() {
    local inhibit=$1 release=$2 showing
    shift 2
    # On mutter a waiter started past its idle time counts from the next
    # input: the session is made busy first, as at a login.
    type_key || fail "no key could be typed"
    start_waiter
    MARK=1
    waiting_only 1 || fail "shown before the idle time"
    for showing in first second; do
        wait_until 30 shown "$@" || fail "the $showing showing is not one surface per output, of its size"
        each_showing "$showing"
        mark
        wait_until 30 key_ends_showing || fail "no key ended the $showing showing"
        gone "$SAVER" && fail "the waiter ended with the $showing showing"
    done
    as_user "$QUORBEL_WAYLAND" --idle 2 >/dev/null 2>"$work/second"
    [ $? = 1 ] && grep -q "^quorbel-wayland: a waiter is already running for .* (process $SAVER)$" "$work/second" ||
        fail "a second waiter was not refused: $(cat "$work/second")"
    # The idle time counts from a key under the inhibitor (ending a showing
    # that came meanwhile, if one did).
    $inhibit || fail "could not inhibit idle"
    wait_until 30 key_ends_showing || fail "no key ended the showing before the inhibitor"
    mark
    waiting_only 6 || fail "shown while idle was inhibited"
    $release || fail "could not release the inhibition"
    wait_until 30 shown "$@" || fail "not shown once the inhibition was released"

    kill "$DESKTOP_PID"
    wait_until 30 gone "$SAVER" || fail "the compositor's end did not end the waiter"
    wait "$SAVER"
    local code=$?
    [ "$code" = 0 ] || fail "exit code $code after the compositor's end"
    grep -v '^\[' "$WAITER_LOG" | grep -q . && fail "it wrote to standard error"
    [ -e "$WAITER_LOCK" ] && fail "its lock stayed"
    return 0
}
