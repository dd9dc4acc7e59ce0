# Sourced: a throwaway session for a compositor that refuses root (KWin,
# mutter), as headless_sway.sh makes one for sway, with a private session bus.
#   start_session <name>     a user (made as root, removed by stop_session;
#                            as anyone else, that user), a runtime folder of
#                            mode 0700 and a session bus in it; sets
#                            SESSION_USER, SESSION_RUNTIME, SESSION_BUS_PID
#   as_user <command...>     runs a command as that user, in the session
#                            (WAYLAND_DISPLAY from SESSION_WAYLAND)
#   exec_as_user <command...>  the same in place of the shell, so that
#                            "exec_as_user ... &" gives the command's PID
#   stop_session             ends everything the user runs, each by its
#                            PID, and removes what start_session made

SESSION_USER=""
SESSION_RUNTIME=""
SESSION_WAYLAND=""
SESSION_MADE_USER=""
SESSION_BUS_PID=""

as_user() { (exec_as_user "$@"); }

exec_as_user() {
    local vars=(XDG_RUNTIME_DIR="$SESSION_RUNTIME" WAYLAND_DISPLAY="$SESSION_WAYLAND" HOME="$SESSION_RUNTIME"
        PATH="$PATH" DBUS_SESSION_BUS_ADDRESS="unix:path=$SESSION_RUNTIME/bus" XDG_SESSION_TYPE=wayland)
    local exec_as=()
    [ -n "$SESSION_MADE_USER" ] && exec_as=(setpriv --reuid="$SESSION_USER" --regid="$SESSION_USER" --init-groups --)
    exec env -i "${vars[@]}" ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
        "${exec_as[@]}" "$@"
}

start_session() {
    if [ "$(id -u)" = 0 ]; then
        SESSION_USER=quorbel-$1-$$
        useradd --system --no-create-home --shell /usr/sbin/nologin "$SESSION_USER" || return 1
        SESSION_MADE_USER=1
    else
        SESSION_USER=$(id -un)
    fi
    SESSION_RUNTIME=$(mktemp -d "/tmp/quorbel-$1.XXXXXX") || return 1
    chmod 0700 "$SESSION_RUNTIME"
    [ -n "$SESSION_MADE_USER" ] && chown "$SESSION_USER:" "$SESSION_RUNTIME"
    SESSION_BUS_PID=$(as_user dbus-daemon --session --address="unix:path=$SESSION_RUNTIME/bus" --fork --print-pid) ||
        return 1
}

stop_session() {
    local pid limit=$((SECONDS + 30))
    [ -n "$SESSION_BUS_PID" ] && kill "$SESSION_BUS_PID" 2>/dev/null
    SESSION_BUS_PID=""
    if [ -n "$SESSION_MADE_USER" ]; then
        while pid=$(pgrep -u "$SESSION_USER" | head -n1) && [ -n "$pid" ]; do
            kill "$pid" 2>/dev/null || true
            [ "$SECONDS" -ge "$limit" ] && break
            sleep 0.1
        done
        userdel "$SESSION_USER" 2>/dev/null || echo "could not remove the user $SESSION_USER" >&2
        SESSION_MADE_USER=""
    fi
    [ -n "$SESSION_RUNTIME" ] && rm -rf "$SESSION_RUNTIME"
    SESSION_RUNTIME=""
    return 0
}
