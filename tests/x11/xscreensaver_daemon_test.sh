#!/bin/bash
# xscreensaver_daemon_test.sh: the real XScreenSaver daemon, on a private
# Xvfb, starts "quorbel --root" from a ~/.xscreensaver that "quorbel-enable
# --only" made, shows it on the screen, and ends it on deactivation; on two
# Xinerama heads (a Xephyr nested in Xvfb) it starts one on each. XScreenSaver
# runs no hack as root, so the daemon runs as the unprivileged user
# quorbeltest, made here when missing and then removed again, home folder
# included. QUORBEL and QUORBEL_ENABLE name the programs. Skipped (77) when
# not root, since only root can switch users.
set -uo pipefail

. "$(dirname "$0")/x_test_lib.sh"
user=quorbeltest
failure_details() { [ -f "${work:-/nonexistent}/log" ] && tail -n 20 "$work/log"; }

[ "$(id -u)" = 0 ] || exit 77
command -v xscreensaver >/dev/null || fail "xscreensaver is not installed"
work=""
daemon=""
added=""
cleanup() {
    if [ -n "$daemon" ]; then
        as_user xscreensaver-command -exit >/dev/null 2>&1
        wait_until 10 eval '! kill -0 "$daemon" 2>/dev/null' || kill "$daemon" 2>/dev/null
        wait "$daemon" 2>/dev/null
    fi
    stop_two_heads
    [ -n "$work" ] && rm -rf "$work"
    if [ -n "$added" ]; then
        # The daemon's hacks end with it; give them time before the user goes.
        wait_until 10 eval '! pgrep -u "$user" >/dev/null' || echo "processes of $user left" >&2
        userdel --remove "$user" 2>/dev/null || echo "cannot remove $user" >&2
    elif [ -n "${home:-}" ]; then
        rm -f "$home/.xscreensaver"
    fi
}
trap cleanup EXIT
if ! id "$user" >/dev/null 2>&1; then
    useradd --create-home --shell /bin/sh --comment "quorbel test runs" "$user" || fail "cannot add $user"
    added=1
fi
home=$(getent passwd "$user" | cut -d: -f6)
[ -d "$home" ] || fail "$user has no home folder"

# The programs where the user can run them, and the daemon's log.
work=$(mktemp -d)
cp "$QUORBEL" "$QUORBEL_ENABLE" "$work/"
chown "$user" "$work"
chmod 755 "$work"

start_xvfb 1024x768x24 || fail "no Xvfb"
display=$XVFB_DISPLAY
as_user() { runuser -u "$user" -- env HOME="$home" DISPLAY="$display" PATH="$work:/usr/bin:/bin" "$@"; }

rm -f "$home/.xscreensaver"
as_user quorbel-enable --only >/dev/null || fail "quorbel-enable --only failed"
file=$home/.xscreensaver
grep -q 'quorbel --root' "$file" || fail "quorbel-enable did not list quorbel"
# Settings of the test's own, after quorbel-enable's choice of the one hack
# shown: at once, without fading, splash or lock.
printf '%s\n' "fade: False" "unfade: False" "splash: False" "lock: False" >>"$file"
chown "$user" "$file"

start_daemon() {
    as_user xscreensaver --no-splash --verbose --log "$work/log" >/dev/null 2>&1 &
    daemon=$!
    wait_until 20 as_user xscreensaver-command -version >/dev/null 2>&1
}
hacks() { pgrep -u "$user" -f '^quorbel --root$' | wc -l; }

# run_daemon <heads> <region...>: the daemon on $display starts one quorbel
# per head, cells show in each region (WxH+X+Y) and deactivation ends them.
run_daemon() {
    local heads=$1 region
    shift
    rm -f "$work/log"
    # XScreenSaver 6.06 has once stalled at start-up in a loaded test run,
    # its log ending at "running in process", before it reads its settings
    # or touches a hack; a second start tells that from a daemon that cannot
    # run.
    if ! start_daemon; then
        kill "$daemon" 2>/dev/null
        wait "$daemon" 2>/dev/null
        start_daemon || fail "the daemon did not start, twice"
    fi
    as_user xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate failed"
    wait_until 20 eval '[ "$(hacks)" -ge "$heads" ]' || fail "the daemon did not start $heads quorbel --root"
    for region in "$@"; do
        wait_until 20 eval 'shot screen && sprites_in screen "$region"' || fail "no cells in $region while quorbel runs"
    done
    [ "$(hacks)" = "$heads" ] || fail "$(hacks) quorbel --root for $heads heads"

    as_user xscreensaver-command -deactivate >/dev/null || fail "xscreensaver-command -deactivate failed"
    wait_until 20 eval '[ "$(hacks)" = 0 ]' || fail "quorbel still runs after deactivation"
    [ "$(grep -c 'killing pid [0-9]* (quorbel)' "$work/log")" = "$heads" ] ||
        fail "the daemon's log does not show it ending quorbel on each head"
    as_user xscreensaver-command -exit >/dev/null 2>&1
    wait_until 10 eval '! kill -0 "$daemon" 2>/dev/null' || kill "$daemon" 2>/dev/null
    wait "$daemon" 2>/dev/null
    daemon=""
}

run_daemon 1 1024x768+0+0
echo "one screen: one quorbel --root"

# Two monitors side by side.
stop_xvfb
start_two_heads
display=$XVFB_DISPLAY
run_daemon 2 1920x1080+0+0 1280x1024+1920+0
grep -q 'believing Xinerama' "$work/log" || fail "the daemon did not take the heads from Xinerama"
echo "two heads: one quorbel --root on each"
