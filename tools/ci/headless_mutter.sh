# Sourced: a private headless mutter, GNOME's compositor, for the Wayland
# tests. It cannot be captured headless, only nested; its idle monitor and
# its remote desktop input are on its session bus, a private one.
#   start_mutter <stand-in> [nested] <WxH>...
#       starts <stand-in> first, a command that prints "ready" once it owns
#       org.gnome.SessionManager (a headless mutter has no session manager,
#       and its idle monitor follows one), then mutter with a virtual monitor
#       of each size. Sets MUTTER_PID and MUTTER_WAYLAND (the socket's name).
#       With "nested", its one X11 window in a private Xvfb instead, holding
#       the outputs side by side, all of the first size; sets MUTTER_X_DISPLAY.
#   as_mutter_user <command...>     runs a command as mutter's user, in its session
#   exec_as_mutter_user <command...>  the same in place of the shell, so that
#                                 "exec_as_mutter_user ... &" gives its PID
#   stop_mutter                   ends it, the stand-in and the bus, by PID,
#                                 and removes what it made
# mutter refuses to run as root: as root, a throwaway user is made (and
# removed by stop_mutter, tools/ci/session_user.sh).

. "$(dirname "${BASH_SOURCE[0]}")/session_user.sh"
. "$(dirname "${BASH_SOURCE[0]}")/xvfb_display.sh"

MUTTER_RUNTIME=""
MUTTER_PID=""
MUTTER_BUS_PID=""
MUTTER_STANDIN_PID=""
MUTTER_WAYLAND=""
MUTTER_X_DISPLAY=""

as_mutter_user() { (exec_as_mutter_user "$@"); }

exec_as_mutter_user() {
    exec_as_session_user XDG_RUNTIME_DIR="$MUTTER_RUNTIME" HOME="$MUTTER_RUNTIME" PATH="$PATH" \
        WAYLAND_DISPLAY="$MUTTER_WAYLAND" DBUS_SESSION_BUS_ADDRESS="unix:path=$MUTTER_RUNTIME/bus" \
        XDG_SESSION_TYPE=wayland ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" -- "$@"
}

start_mutter() {
    local standin=$1 size monitors=(--headless) nested=()
    shift
    if [ "$1" = nested ]; then
        shift
        start_xvfb "$((${1%x*} * $#))x${1#*x}x24" -ac || return 1
        MUTTER_X_DISPLAY=$XVFB_DISPLAY
        monitors=(--nested)
        nested=(DISPLAY="$MUTTER_X_DISPLAY" MUTTER_DEBUG_NUM_DUMMY_MONITORS=$# MUTTER_DEBUG_DUMMY_MODE_SPECS="$1")
    else
        for size; do
            monitors+=(--virtual-monitor "$size")
        done
    fi
    make_session_user quorbel-mutter || return 1
    MUTTER_RUNTIME=$(mktemp -d /tmp/quorbel-mutter.XXXXXX) || return 1
    chmod 0700 "$MUTTER_RUNTIME"
    [ -n "$SESSION_USER_MADE" ] && chown "$SESSION_USER:" "$MUTTER_RUNTIME"
    MUTTER_BUS_PID=$(as_mutter_user dbus-daemon --session --address="unix:path=$MUTTER_RUNTIME/bus" --fork \
        --print-pid) || return 1
    # shellcheck disable=SC2086
    exec_as_mutter_user $standin >"$MUTTER_RUNTIME/standin.log" 2>&1 &
    MUTTER_STANDIN_PID=$!
    standin_ready() { grep -qs ready "$MUTTER_RUNTIME/standin.log"; }
    await_compositor "The session manager stand-in" "$MUTTER_STANDIN_PID" "$MUTTER_RUNTIME/standin.log" \
        standin_ready || return 1
    exec_as_mutter_user env "${nested[@]}" mutter "${monitors[@]}" --wayland --no-x11 \
        --wayland-display wayland-quorbel-$$ \
        >"$MUTTER_RUNTIME/mutter.log" 2>&1 &
    MUTTER_PID=$!
    MUTTER_WAYLAND=wayland-quorbel-$$
    # Ready once its socket is there and its idle monitor answers.
    mutter_ready() {
        [ -S "$MUTTER_RUNTIME/$MUTTER_WAYLAND" ] && as_mutter_user gdbus call --session \
            --dest org.gnome.Mutter.IdleMonitor --object-path /org/gnome/Mutter/IdleMonitor/Core \
            --method org.gnome.Mutter.IdleMonitor.GetIdletime >/dev/null 2>&1
    }
    await_compositor mutter "$MUTTER_PID" "$MUTTER_RUNTIME/mutter.log" mutter_ready
}

stop_mutter() {
    end_session "$MUTTER_RUNTIME" "$MUTTER_PID" "$MUTTER_STANDIN_PID" "$MUTTER_BUS_PID"
    [ -z "$MUTTER_X_DISPLAY" ] || stop_xvfb
    MUTTER_PID="" MUTTER_STANDIN_PID="" MUTTER_BUS_PID="" MUTTER_X_DISPLAY="" MUTTER_RUNTIME=""
}
