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
    [ -f "$WAITER_LOG" ] && grep -v '^\[' "$WAITER_LOG" | sed 's/^/waiter: /'
    [ -n "${DESKTOP_RUNTIME:-}" ] && tail -n 20 "$DESKTOP_RUNTIME"/*.log 2>/dev/null | sed 's/^/desktop: /'
}

start_waiter() {
    exec_as_user env WAYLAND_DEBUG=1 "$QUORBEL_WAYLAND" --idle 2 --speed 19 --ticks 3 2>"$WAITER_LOG" &
    SAVER=$!
    pids+=("$SAVER")
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
    WAITER_LOCK=$MUTTER_RUNTIME/quorbel-wayland-idle-$MUTTER_WAYLAND.lock
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
    WAITER_LOCK=$KWIN_RUNTIME/quorbel-wayland-idle-$KWIN_WAYLAND.lock
    check_waiter inhibit_idle release_idle 1280x800 1280x800
    [ "$(count ' -> ext_idle_notifier_v1@[0-9]*\.get_idle_notification(')" = 1 ] &&
        [ "$(count ' -> org_kde_kwin_idle@')" = 0 ] || fail "ext_idle_notifier_v1 was not the one used"
}

"case_$1"
echo "PASS: $1"
