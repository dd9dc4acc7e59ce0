# Sourced: a private headless mutter, GNOME's compositor, for the Wayland
# tests (it cannot be captured; its idle monitor and remote desktop input
# are on the session bus).
#   start_mutter <stand-in> <WxH>...  starts <stand-in> first, a command
#                            that prints "ready" once it owns
#                            org.gnome.SessionManager (headless mutter has
#                            no session manager, and its idle monitor
#                            follows one), then mutter with a virtual
#                            monitor of each size; sets MUTTER_PID
#   as_user, exec_as_user    as in headless_session.sh
#   stop_mutter              ends it and removes what it made
. "$(dirname "${BASH_SOURCE[0]}")/headless_session.sh"

MUTTER_PID=""

start_mutter() {
    local standin=$1 size monitors=()
    shift
    for size; do
        monitors+=(--virtual-monitor "$size")
    done
    start_session mutter || return 1
    # shellcheck disable=SC2086
    exec_as_user $standin >"$SESSION_RUNTIME/standin.out" 2>&1 &
    local limit=$((SECONDS + 30))
    until grep -q ready "$SESSION_RUNTIME/standin.out" 2>/dev/null; do
        [ "$SECONDS" -ge "$limit" ] && echo "the session manager stand-in did not start" >&2 && return 1
        sleep 0.1
    done
    exec_as_user mutter --headless --wayland --no-x11 "${monitors[@]}" --wayland-display wayland-m \
        >"$SESSION_RUNTIME/mutter.log" 2>&1 &
    MUTTER_PID=$!
    SESSION_WAYLAND=wayland-m
    # Ready once its idle monitor answers.
    until as_user gdbus call --session --dest org.gnome.Mutter.IdleMonitor \
        --object-path /org/gnome/Mutter/IdleMonitor/Core --method org.gnome.Mutter.IdleMonitor.GetIdletime \
        >/dev/null 2>&1 && [ -S "$SESSION_RUNTIME/wayland-m" ]; do
        if [ "$SECONDS" -ge "$limit" ] || ! kill -0 "$MUTTER_PID" 2>/dev/null; then
            echo "mutter did not start:" >&2
            cat "$SESSION_RUNTIME/mutter.log" >&2
            return 1
        fi
        sleep 0.1
    done
}

stop_mutter() {
    if [ -n "$MUTTER_PID" ]; then
        kill "$MUTTER_PID" 2>/dev/null
        wait "$MUTTER_PID" 2>/dev/null
        MUTTER_PID=""
    fi
    stop_session
}
