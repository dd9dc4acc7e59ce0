#!/bin/bash
# idle_desktop_test.sh <kwin|mutter>: quorbel-wayland --idle on a desktop
# that cannot be captured headless, checked on the surfaces it makes as its
# own protocol log (WAYLAND_DEBUG) shows them: nothing before the idle time,
# then one surface per output (an overlay where the layer shell is offered,
# a full-screen window elsewhere); input ends the showing and the
# waiter goes on to show again; an idle inhibitor held keeps it away until
# released; the compositor's end ends the waiter quietly. Needs
# QUORBEL_WAYLAND and the test clients (IDLE_INHIBITOR, KWIN_FAKE_INPUT,
# GNOME_TEST_CLIENT).
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/support/shell_test_lib.sh"
. "$root/tests/wayland/idle_test_lib.sh"

start_work stop_desktop
WAITER_LOG=$work/log
stop_desktop() { :; }
# use_desktop <kwin|mutter>: its starter (tools/ci/headless_<name>.sh), and
# the test's as_user, exec_as_user and stop_desktop on it.
use_desktop() {
    . "$root/tools/ci/headless_$1.sh"
    eval "as_user() { as_$1_user \"\$@\"; }; exec_as_user() { exec_as_$1_user \"\$@\"; }; stop_desktop() { stop_$1; }"
}

failure_details() {
    [ -f "$work/log" ] && grep -v '^\[' "$work/log" | sed 's/^/waiter: /'
    [ -n "${DESKTOP_RUNTIME:-}" ] && tail -n 20 "$DESKTOP_RUNTIME"/*.log 2>/dev/null | sed 's/^/desktop: /'
}

gone() { ! kill -0 "$1" 2>/dev/null; }

start_waiter() {
    exec_as_user env WAYLAND_DEBUG=1 "$QUORBEL_WAYLAND" --idle 2 --speed 19 --ticks 3 2>"$work/log" &
    SAVER=$!
    pids+=("$SAVER")
}

# check_waiter <inhibit> <release> <WxH>...: the whole run on one desktop;
# inhibit and release are commands that hold and let go of idle inhibition.
check_waiter() {
    local inhibit=$1 release=$2
    shift 2
    # mutter fires a watch asked for past its time at once: the session is
    # made busy first, as at a login.
    type_key || fail "no key could be typed"
    start_waiter
    MARK=1
    waiting_only 1 || fail "shown before the idle time"
    wait_until 30 shown "$@" || fail "the first showing is not one surface per output, of its size"
    mark
    wait_until 30 key_ends_showing || fail "no key ended the first showing"
    gone "$SAVER" && fail "the waiter ended with the first showing"
    wait_until 30 shown "$@" || fail "not shown again after the next idle time"
    wait_until 30 key_ends_showing || fail "no key ended the second showing"
    # The idle time counts from a key under the inhibitor (ending a showing
    # that came meanwhile, if one did).
    $inhibit || fail "could not inhibit idle"
    mark
    wait_until 30 key_ends_showing || fail "no key ended the showing before the inhibitor"
    waiting_only 6 || fail "shown while idle was inhibited"
    $release || fail "could not release the inhibition"
    wait_until 30 shown "$@" || fail "not shown once the inhibition was released"

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
    use_desktop mutter
    type_key() { as_user "$GNOME_TEST_CLIENT" key; }
    start_mutter "$GNOME_TEST_CLIENT session-manager" 1280x800 1024x768 || fail "mutter did not start"
    DESKTOP_PID=$MUTTER_PID DESKTOP_RUNTIME=$MUTTER_RUNTIME
    # Without the session bus, mutter tells no idle time: one line, exit 1.
    as_user env DBUS_SESSION_BUS_ADDRESS="unix:path=$work/none" "$QUORBEL_WAYLAND" --idle 2 2>"$work/refusal"
    local code=$?
    [ "$code" = 1 ] && [ "$(wc -l <"$work/refusal")" = 1 ] &&
        grep -q '^quorbel-wayland: this desktop tells no idle time' "$work/refusal" ||
        fail "no idle source: exit code $code, $(cat "$work/refusal")"
    check_waiter "manager_inhibits 8" "manager_inhibits 0" 1280x800 1024x768
}

# KDE Plasma: KWin's ext_idle_notifier_v1 (offered beside org_kde_kwin_idle,
# and preferred), an inhibitor client, keys through its fake input.
case_kwin() {
    use_desktop kwin
    type_key() { as_user "$KWIN_FAKE_INPUT" key; }
    start_kwin 2 1280x800 1 || fail "KWin did not start"
    DESKTOP_PID=$KWIN_PID DESKTOP_RUNTIME=$KWIN_RUNTIME
    check_waiter inhibit_idle release_idle 1280x800 1280x800
    [ "$(count ' -> ext_idle_notifier_v1@[0-9]*\.get_idle_notification(')" = 1 ] &&
        [ "$(count ' -> org_kde_kwin_idle@')" = 0 ] || fail "ext_idle_notifier_v1 was not the one used"
}

"case_$1"
echo "PASS: $1"
