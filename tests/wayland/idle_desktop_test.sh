#!/bin/bash
# idle_desktop_test.sh <kwin|mutter>: quorbel-wayland --idle on KWin or
# GNOME, checked on the surfaces it makes as its
# own protocol log (WAYLAND_DEBUG) shows them: nothing before the idle time,
# then one surface per output (an overlay where the layer shell is offered,
# a full-screen window elsewhere); input ends the showing and the
# waiter goes on to show again; an idle inhibitor held keeps it away until
# released; the compositor's end ends the waiter quietly. On KWin, which
# can be captured in an Xvfb, the saver itself is checked first. Needs
# QUORBEL_WAYLAND, QUORBEL_RENDER (for KWin) and the test clients
# (IDLE_INHIBITOR, KWIN_FAKE_INPUT, GNOME_TEST_CLIENT).
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/support/shell_test_lib.sh"
. "$root/tests/wayland/idle_test_lib.sh"

start_work stop_desktop
WAITER_LOG=$work/err
stop_desktop() { :; }
# use_desktop <kwin|mutter>: its starter (tools/ci/headless_<name>.sh), and
# the test's as_user, exec_as_user and stop_desktop on it.
use_desktop() {
    . "$root/tools/ci/headless_$1.sh"
    eval "as_user() { as_$1_user \"\$@\"; }; exec_as_user() { exec_as_$1_user \"\$@\"; }; stop_desktop() { stop_$1; }"
}

failure_details() {
    [ -f "$work/err" ] && grep -v '^\[' "$work/err" | sed 's/^/saver: /'
    [ -n "${DESKTOP_RUNTIME:-}" ] && tail -n 20 "$DESKTOP_RUNTIME"/*.log 2>/dev/null | sed 's/^/desktop: /'
}

start_waiter() {
    saver_env=(WAYLAND_DEBUG=1)
    start_saver --idle 2 --speed 19 --ticks 3
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
    refused "no idle source" 1 '^quorbel-wayland: this desktop tells no idle time' \
        as_user env DBUS_SESSION_BUS_ADDRESS="unix:path=$work/none" "$QUORBEL_WAYLAND" --idle 2
    check_waiter "manager_inhibits 8" "manager_inhibits 0" 1280x800 1024x768
}

# KDE Plasma, X11-windowed in an Xvfb at scale 1.5 so that its two outputs
# of 1280x800 logical pixels can be captured. First the saver: each output
# an overlay drawn at its exact device size (1920x1200, through a viewport)
# with the sprite scale the device ratio gives (2), equal to quorbel-render;
# a key, a click and a move through org_kde_kwin_fake_input each end it.
# Then the waiter on KWin's ext_idle_notifier_v1 (offered beside
# org_kde_kwin_idle, and preferred), with an inhibitor client.
# capture <n>: the n-th output's X window, to $work/shot-<n>.png.
capture() { import -display "$KWIN_X_DISPLAY" -window "${KWIN_X_WINDOWS[$1]}" "$work/shot-$1.png" 2>/dev/null; }
differing() { compare -metric AE "$work/shot-$1.png" "$work/expected.png" null: 2>&1; }
matches() { capture "$1" && [ "$(differing "$1")" = 0 ]; }
drawn() { capture 0 && [ "$(convert "$work/shot-0.png" -format '%k' info:)" -gt 2 ]; }
kwin_saver() {
    local seeded=(--seed 7 --speed 19 --species 6 --cell-size small --ticks 12) output how
    start_saver "${seeded[@]}"
    "$QUORBEL_RENDER" --resolution 1920x1200 --scale 2 --quiet --png "$work/expected.png" "${seeded[@]}" ||
        fail "quorbel-render failed"
    for output in 0 1; do
        wait_until 30 matches "$output" ||
            fail "output $output differs from quorbel-render at 1920x1200, scale 2, in $(differing "$output") pixels"
    done
    kill -TERM "$SAVER"
    reaped SIGTERM
    # Input is sent once KWin has given the saver the keyboard (its protocol
    # log, the lines that begin with "[", says when): a key sent before
    # that reaches no one.
    local saver_env=(WAYLAND_DEBUG=1)
    for how in key click move; do
        start_saver --speed 19
        wait_until 30 drawn || fail "$how: the saver did not show"
        wait_until 30 grep -q 'wl_keyboard@[0-9]*\.enter(' "$work/err" || fail "$how: the saver never had the keyboard"
        as_user "$KWIN_FAKE_INPUT" "$how" || fail "kwin_fake_input $how failed"
        wait_until 30 gone "$SAVER" || fail "a $how did not end it"
        reaped "a $how"
        grep -qv '^\[' "$work/err" && fail "$how: it wrote to standard error"
    done
}
case_kwin() {
    use_desktop kwin
    for tool in Xvfb xwininfo import "$KWIN_FAKE_INPUT"; do
        command -v "$tool" >/dev/null || fail "$tool is missing (tools/ci/install_deps.sh installs what it needs)"
    done
    type_key() { as_user "$KWIN_FAKE_INPUT" key; }
    start_kwin 2 1280x800 1.5 windowed || fail "KWin did not start"
    DESKTOP_PID=$KWIN_PID DESKTOP_RUNTIME=$KWIN_RUNTIME
    WAITER_LOCK=$KWIN_RUNTIME/quorbel-wayland-idle-$KWIN_WAYLAND.lock
    kwin_saver
    check_waiter inhibit_idle release_idle 1280x800 1280x800
    [ "$(count ' -> ext_idle_notifier_v1@[0-9]*\.get_idle_notification(')" = 1 ] &&
        [ "$(count ' -> org_kde_kwin_idle@')" = 0 ] || fail "ext_idle_notifier_v1 was not the one used"
}

"case_$1"
echo "PASS: $1"
