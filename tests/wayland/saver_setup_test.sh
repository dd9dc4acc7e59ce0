#!/bin/bash
# saver_setup_test.sh files|sway: quorbel-wayland --enable and --remove on a
# home folder of their own: "files" outside a Wayland session (the files
# only), "sway" under a private headless sway, where --enable also starts the
# idle waiter. QUORBEL_WAYLAND names the program.
set -uo pipefail
source "$(dirname "$0")/../support/shell_test_lib.sh"

work=$(mktemp -d)
chmod 755 "$work"
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
export HOME=$work/home
settings=$HOME/.config/quorbel/quorbel-wayland.conf
entry=$HOME/.config/autostart/quorbel-wayland.desktop
record=$HOME/.local/state/quorbel/wayland-changes
fresh_home() { rm -rf "$HOME" && mkdir "$HOME"; }
# The home folder as ls shows it and what its files hold.
snapshot() { (cd "$HOME" && find . -printf '%p %y %m %u %g %l\n' | sort && find . -type f -exec md5sum {} + | sort); }
# run <option...>: the program as the session's user, output in $work/out and $work/err.
run() { "${as_session[@]}" env HOME="$HOME" "$QUORBEL_WAYLAND" "$@" >"$work/out" 2>"$work/err"; }
said() { cat "$work/out" "$work/err"; }

if [ "$1" = files ]; then
    as_session=(env -u WAYLAND_DISPLAY -u SWAYSOCK -u XDG_CONFIG_HOME -u XDG_STATE_HOME)
    fresh_home
    before=$(snapshot)
    run --enable && [ "$(wc -l <"$work/out")" = 1 ] && [ ! -s "$work/err" ] || fail "--enable: $(said)"
    grep -q "next Wayland login" "$work/out" || fail "outside a session it says: $(said)"
    grep -qx "idle 300" "$settings" || fail "the settings file: $(cat "$settings")"
    grep -qx "TryExec=quorbel-wayland" "$entry" && grep -qx "Exec=quorbel-wayland --idle" "$entry" ||
        fail "the autostart entry: $(cat "$entry")"
    # Again, with a time and settings: the file changes, nothing else.
    run --enable 600 --speed 19 || fail "a second --enable: $(said)"
    [ "$(grep -v '^#' "$settings")" = "$(printf 'idle 600\nspeed 19')" ] || fail "settings: $(cat "$settings")"
    run --remove && grep -q "took away" "$work/out" || fail "--remove: $(said)"
    [ "$(snapshot)" = "$before" ] || fail "the home folder changed: $(diff <(echo "$before") <(snapshot))"
    run --remove && grep -q "nothing" "$work/out" || fail "a second --remove: $(said)"

    # The user's own settings file is edited, and put back; one that
    # --enable made and the user has changed since stays.
    mkdir -p "${settings%/*}" && printf '# my settings\\\nspecies 6' >"$settings"
    before=$(snapshot)
    run --enable --speed 3 && grep -qx "speed 3" "$settings" && run --remove ||
        fail "--enable over the user's settings: $(said)"
    [ "$(snapshot)" = "$before" ] || fail "the user's settings file: $(cat "$settings")"
    fresh_home
    run --enable && echo "wrap on" >>"$settings" && run --remove || fail "--enable, an edit, --remove: $(said)"
    grep -q "kept $settings" "$work/out" && grep -qx "wrap on" "$settings" && [ ! -e "$entry" ] ||
        fail "the edited settings file: $(said)"

    # Refused with one line, the home folder left as it was: a name, how it
    # is made, the option, what the line says.
    refusals=(
        "an autostart entry of another's" 'mkdir -p "${entry%/*}"; echo "[Desktop Entry]" >"$entry"' --enable "not one"
        "a record linked to /dev/zero" 'mkdir -p "${record%/*}"; ln -s /dev/zero "$record"' --remove "not a regular"
        "a record that is a FIFO" 'mkdir -p "${record%/*}"; mkfifo "$record"' --enable "not a regular"
        "a settings file that is a folder" 'mkdir -p "$settings"' --enable "not a regular"
        "a config folder that cannot be made" 'printf "" >"$HOME/.config"' --enable "Not a directory"
    )
    for ((i = 0; i < ${#refusals[@]}; i += 4)); do
        fresh_home
        eval "${refusals[i + 1]}"
        before=$(snapshot)
        timeout 60 "${as_session[@]}" "$QUORBEL_WAYLAND" "${refusals[i + 2]}" >"$work/out" 2>"$work/err"
        code=$?
        [ $code = 1 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q "${refusals[i + 3]}" "$work/err" ||
            fail "${refusals[i]}: exit $code, said $(said)"
        [ "$(snapshot)" = "$before" ] || fail "${refusals[i]}: the home folder changed"
    done

    # Run by root on a user's home: what it makes stays the user's.
    if [ "$(id -u)" = 0 ]; then
        fresh_home
        chown 4242:4343 "$HOME"
        run --enable || fail "--enable as root: $(said)"
        [ -z "$(find "$HOME" ! -user 4242 -o ! -group 4343)" ] || fail "root took: $(find "$HOME" ! -user 4242)"
    fi
    exit 0
fi

# Under sway: --enable starts a waiter of its own session, without the
# terminal, and says the line for sway's configuration instead of making an
# autostart entry; again, it starts a fresh one; --remove stops it and leaves
# the home folder as it was.
"$QUORBEL_WAYLAND" --help | grep -q -- "--idle" || {
    echo "the idle waiter is not in this build"
    exit 77
}
source "$(dirname "$0")/../../tools/ci/headless_sway.sh"
cleanup() {
    stop_sway
    rm -rf "$work"
}
start_sway 1 || fail "sway did not start"
as_session=(as_user)
mkdir "$HOME" && chown "$SESSION_USER:" "$HOME"
before=$(snapshot)
waiter() { as_user cat "$SWAY_RUNTIME/quorbel-wayland-idle-$SWAY_WAYLAND.lock" 2>/dev/null; }
# Running, not a zombie: an ended waiter whose starter has gone is init's to
# reap, and a container's first process may never do so.
alive() { [ -n "$(ps -o stat= -p "$1" | grep -v Z)" ]; }
run --enable 2 || fail "--enable under sway: $(said)"
grep -q 'exec quorbel-wayland --idle' "$work/out" && [ ! -e "$entry" ] || fail "sway's line, no entry: $(said)"
first=$(waiter)
[ -n "$first" ] && alive "$first" || fail "no waiter holds the session's lock: $(said)"
[ "$(ps -o sid= -p "$first" | tr -d ' ')" = "$first" ] && [ "$(readlink "/proc/$first/fd/1")" = /dev/null ] ||
    fail "the waiter is not detached: session $(ps -o sid= -p "$first"), output $(readlink "/proc/$first/fd/1")"
run --enable 2 && grep -q restarted "$work/out" || fail "a second --enable: $(said)"
second=$(waiter)
! alive "$first" && [ -n "$second" ] && [ "$second" != "$first" ] || fail "not restarted: $(said)"
run --remove && grep -q "stopped the waiter (process $second)" "$work/out" && grep -q "delete the line" "$work/out" ||
    fail "--remove under sway: $(said)"
! alive "$second" || fail "the waiter still runs"
for pid in $(pgrep -u "$SESSION_USER" | grep -vx "$SWAY_PID"); do
    ! alive "$pid" || fail "left behind: $(ps -o pid,stat,args -p "$pid")"
done
[ "$(snapshot)" = "$before" ] || fail "the home folder changed: $(diff <(echo "$before") <(snapshot))"
