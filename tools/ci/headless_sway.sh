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
# removed by stop_sway) with a runtime folder of mode 0700; as anyone else,
# sway runs as that user.

SWAY_USER=""
SWAY_RUNTIME=""
SWAY_PID=""
SWAY_MADE_USER=""

as_user() { (exec_as_user "$@"); }

exec_as_user() {
    local vars=(XDG_RUNTIME_DIR="$SWAY_RUNTIME" WAYLAND_DISPLAY="${SWAY_WAYLAND:-}" SWAYSOCK="${SWAYSOCK:-}"
        HOME="$SWAY_RUNTIME" PATH="$PATH")
    if [ -n "$SWAY_MADE_USER" ]; then
        local exec_as=(setpriv --reuid="$SWAY_USER" --regid="$SWAY_USER" --init-groups --)
    else
        local exec_as=()
    fi
    exec env -i "${vars[@]}" ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "${exec_as[@]}" "$@"
}

start_sway() {
    local outputs=$1
    shift
    if [ "$(id -u)" = 0 ]; then
        SWAY_USER=quorbel-sway-$$
        useradd --system --no-create-home --shell /usr/sbin/nologin "$SWAY_USER" || return 1
        SWAY_MADE_USER=1
    else
        SWAY_USER=$(id -un)
    fi
    SWAY_RUNTIME=$(mktemp -d /tmp/quorbel-sway.XXXXXX) || return 1
    chmod 0700 "$SWAY_RUNTIME"
    [ -n "$SWAY_MADE_USER" ] && chown "$SWAY_USER:" "$SWAY_RUNTIME"
    printf '%s\n' "$@" >"$SWAY_RUNTIME/config"
    SWAY_WAYLAND="" SWAYSOCK=""
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=$outputs \
        as_user_env_sway sway -c "$SWAY_RUNTIME/config" >"$SWAY_RUNTIME/sway.log" 2>&1 &
    SWAY_PID=$!
    local limit=$((SECONDS + 30)) sock
    while :; do
        sock=$(ls "$SWAY_RUNTIME"/sway-ipc.*.sock 2>/dev/null | head -n1 || true)
        if [ -n "$sock" ] && ls "$SWAY_RUNTIME"/wayland-* >/dev/null 2>&1; then
            break
        fi
        if [ "$SECONDS" -ge "$limit" ] || ! kill -0 "$SWAY_PID" 2>/dev/null; then
            echo "sway did not start:" >&2
            cat "$SWAY_RUNTIME/sway.log" >&2
            return 1
        fi
        sleep 0.1
    done
    SWAYSOCK=$sock
    SWAY_WAYLAND=$(basename "$(ls -d "$SWAY_RUNTIME"/wayland-* | grep -v '\.lock$' | head -n1)")
    # Ready once it answers.
    limit=$((SECONDS + 30))
    until as_user swaymsg -t get_version >/dev/null 2>&1; do
        [ "$SECONDS" -ge "$limit" ] && return 1
        sleep 0.1
    done
}

# Sway itself, with the WLR_ variables set by the caller.
as_user_env_sway() {
    local vars=(XDG_RUNTIME_DIR="$SWAY_RUNTIME" HOME="$SWAY_RUNTIME" PATH="$PATH" WLR_BACKENDS="$WLR_BACKENDS"
        WLR_RENDERER="$WLR_RENDERER" WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS="$WLR_HEADLESS_OUTPUTS")
    if [ -n "$SWAY_MADE_USER" ]; then
        exec env -i "${vars[@]}" setpriv --reuid="$SWAY_USER" --regid="$SWAY_USER" --init-groups -- "$@"
    fi
    exec env -i "${vars[@]}" "$@"
}

stop_sway() {
    if [ -n "$SWAY_PID" ]; then
        kill "$SWAY_PID" 2>/dev/null || true
        wait "$SWAY_PID" 2>/dev/null || true
        SWAY_PID=""
    fi
    if [ -n "$SWAY_MADE_USER" ]; then
        # What sway started for the session (a bar, an idle manager) goes
        # too, each by its PID: the user cannot be removed while it runs.
        local pid limit=$((SECONDS + 30))
        while pid=$(pgrep -u "$SWAY_USER" | head -n1) && [ -n "$pid" ]; do
            kill "$pid" 2>/dev/null || true
            [ "$SECONDS" -ge "$limit" ] && break
            sleep 0.1
        done
        userdel "$SWAY_USER" 2>/dev/null || echo "could not remove the user $SWAY_USER" >&2
        SWAY_MADE_USER=""
    fi
    if [ -n "$SWAY_RUNTIME" ]; then
        rm -rf "$SWAY_RUNTIME"
    fi
    SWAY_RUNTIME=""
    return 0
}
