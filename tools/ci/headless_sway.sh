# Sourced: a private headless sway for the Wayland tests and benchmarks.
#   start_sway <outputs> [config line...]   starts it; sets SWAY_PID and the
#                                           environment as_user passes on
#   as_user <command...>                    runs a command as sway's user,
#                                           in its session
#   exec_as_user <command...>               the same in place of the shell,
#                                           so that "exec_as_user ... &"
#                                           gives the command's PID
#   stop_sway                               ends it and removes what it made
# Sway refuses to run as root: as root, a throwaway user is made (and
# removed by stop_sway, tools/ci/session_user.sh) with a runtime folder of
# mode 0700; as anyone else, sway runs as that user.

. "$(dirname "${BASH_SOURCE[0]}")/session_user.sh"

SWAY_RUNTIME=""
SWAY_PID=""

as_user() { (exec_as_user "$@"); }

exec_as_user() {
    exec_as_session_user XDG_RUNTIME_DIR="$SWAY_RUNTIME" WAYLAND_DISPLAY="${SWAY_WAYLAND:-}" SWAYSOCK="${SWAYSOCK:-}" \
        HOME="$SWAY_RUNTIME" PATH="$PATH" ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" -- "$@"
}

start_sway() {
    local outputs=$1
    shift
    make_session_user quorbel-sway || return 1
    SWAY_RUNTIME=$(mktemp -d /tmp/quorbel-sway.XXXXXX) || return 1
    chmod 0700 "$SWAY_RUNTIME"
    [ -n "$SESSION_USER_MADE" ] && chown "$SESSION_USER:" "$SWAY_RUNTIME"
    printf '%s\n' "$@" >"$SWAY_RUNTIME/config"
    SWAY_WAYLAND="" SWAYSOCK=""
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=$outputs \
        as_user_env_sway sway -c "$SWAY_RUNTIME/config" >"$SWAY_RUNTIME/sway.log" 2>&1 &
    SWAY_PID=$!
    sway_sockets() {
        SWAYSOCK=$(ls "$SWAY_RUNTIME"/sway-ipc.*.sock 2>/dev/null | head -n1 || true)
        [ -n "$SWAYSOCK" ] && ls "$SWAY_RUNTIME"/wayland-* >/dev/null 2>&1
    }
    await_compositor sway "$SWAY_PID" "$SWAY_RUNTIME/sway.log" sway_sockets || return 1
    SWAY_WAYLAND=$(basename "$(ls -d "$SWAY_RUNTIME"/wayland-* | grep -v '\.lock$' | head -n1)")
    # Ready once it answers.
    local limit=$((SECONDS + 30))
    until as_user swaymsg -t get_version >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$limit" ] && return 1
        sleep 0.1
    done
}

# Sway itself, with the WLR_ variables set by the caller.
as_user_env_sway() {
    exec_as_session_user XDG_RUNTIME_DIR="$SWAY_RUNTIME" HOME="$SWAY_RUNTIME" PATH="$PATH" \
        WLR_BACKENDS="$WLR_BACKENDS" WLR_RENDERER="$WLR_RENDERER" WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_HEADLESS_OUTPUTS="$WLR_HEADLESS_OUTPUTS" -- "$@"
}

stop_sway() {
    end_session "$SWAY_RUNTIME" "$SWAY_PID"
    SWAY_PID="" SWAY_RUNTIME=""
}
