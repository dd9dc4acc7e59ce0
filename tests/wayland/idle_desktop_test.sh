#!/bin/bash
# idle_desktop_test.sh <kwin|mutter>: quorbel-wayland --idle on a desktop
# that cannot be captured headless, checked on the surfaces it makes as its
# own protocol log (WAYLAND_DEBUG) shows them: nothing before the idle time,
# then one full-screen surface per output; input ends the showing and the
# waiter goes on to show again; an idle inhibitor held keeps it away until
# released; the compositor's end ends the waiter quietly. Needs
# QUORBEL_WAYLAND and the test clients (IDLE_TEST_CLIENT, GNOME_TEST_CLIENT).
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/support/shell_test_lib.sh"

work=$(mktemp -d)
chmod 0755 "$work"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    stop_desktop
    rm -rf "$work"
}
trap cleanup EXIT

failure_details() {
    [ -f "$work/log" ] && grep -v '^\[' "$work/log" | sed 's/^/waiter: /'
    [ -n "${SESSION_RUNTIME:-}" ] && tail -n 20 "$SESSION_RUNTIME"/*.log 2>/dev/null | sed 's/^/desktop: /'
}

# The waiter's requests and events, as libwayland logs them.
count() { grep -c -- "$1" "$work/log"; }
live_surfaces() { echo $(($(count ' -> xdg_wm_base@[0-9]*\.get_xdg_surface(') - $(count ' -> xdg_surface@[0-9]*\.destroy()'))); }
# shown <n> <WxH>...: the n-th showing is up: a surface on every output,
# each given its output's size (n configures of that size so far).
shown() {
    local n=$1 size
    shift
    [ "$(live_surfaces)" = $# ] || return 1
    for size; do
        [ "$(count "xdg_toplevel@[0-9]*\.configure(${size%x*}, ${size#*x},")" -ge "$n" ] || return 1
    done
}
hidden() { [ "$(live_surfaces)" = 0 ]; }
# waiting_only <seconds>: over that time nothing is shown.
waiting_only() {
    local look
    for ((look = 0; look < $1 * 5; look++)); do
        hidden || return 1
        sleep 0.2
    done
}
gone() { ! kill -0 "$1" 2>/dev/null; }
key_ends_showing() { type_key && wait_until 2 hidden; }

start_waiter() {
    exec_as_user env WAYLAND_DEBUG=1 "$QUORBEL_WAYLAND" --idle 2 --speed 19 --ticks 3 2>"$work/log" &
    SAVER=$!
    pids+=("$SAVER")
}

# check_waiter <inhibit> <release> <WxH>...: the whole run on one desktop;
# inhibit and release are commands that hold and let go of idle inhibition.
check_waiter() {
    local inhibit=$1 release=$2 showing
    shift 2
    start_waiter
    waiting_only 1 || fail "shown before the idle time"
    for showing in 1 2; do
        wait_until 30 shown "$showing" "$@" || fail "showing $showing is not one full-screen surface per output"
        [ "$showing" = 2 ] && break
        wait_until 30 key_ends_showing || fail "no key ended showing $showing"
        gone "$SAVER" && fail "the waiter ended with showing $showing"
    done
    # Inhibited during the showing, so that the idle time after the key
    # that ends it runs under the inhibitor.
    $inhibit || fail "could not inhibit idle"
    wait_until 30 key_ends_showing || fail "no key ended the showing before the inhibitor"
    waiting_only 6 || fail "shown while idle was inhibited"
    $release || fail "could not release the inhibition"
    wait_until 30 shown 3 "$@" || fail "not shown once the inhibition was released"

    kill "$DESKTOP_PID"
    wait_until 30 gone "$SAVER" || fail "the compositor's end did not end the waiter"
    wait "$SAVER"
    local code=$?
    [ "$code" = 0 ] || fail "exit code $code after the compositor's end"
    grep -v '^\[' "$work/log" | grep -q . && fail "it wrote to standard error"
    return 0
}

# GNOME: mutter's idle monitor on the session bus, a stand-in session
# manager's InhibitedActions for the inhibitor, remote desktop for keys.
manager_inhibits() {
    as_user gdbus call --session --dest org.gnome.SessionManager --object-path /org/gnome/SessionManager \
        --method org.freedesktop.DBus.Properties.Set org.gnome.SessionManager InhibitedActions "<uint32 $1>" >/dev/null
}
case_mutter() {
    . "$root/tools/ci/headless_mutter.sh"
    stop_desktop() { stop_mutter; }
    type_key() { as_user "$GNOME_TEST_CLIENT" key; }
    start_mutter "$GNOME_TEST_CLIENT session-manager" 1280x800 1024x768 || fail "mutter did not start"
    DESKTOP_PID=$MUTTER_PID
    check_waiter "manager_inhibits 8" "manager_inhibits 0" 1280x800 1024x768
}

"case_$1"
echo "PASS: $1"
