# Sourced: a private KWin (KDE Plasma's compositor) for the Wayland tests.
#   start_kwin <outputs> <WxH> <scale> [windowed]
#       starts it with that many outputs of WxH logical pixels at that
#       scale: virtual ones, or with "windowed" one X11 window each in a
#       private Xvfb (set side by side, so that they can be captured), each
#       window the output's device size. Sets KWIN_PID, KWIN_WAYLAND (the
#       socket's name) and, windowed, KWIN_X_DISPLAY and KWIN_X_WINDOWS (the
#       outputs' X windows, left to right).
#   as_kwin_user <command...>     runs a command as KWin's user, in its session
#   exec_as_kwin_user <command...>  the same in place of the shell, so that
#                                 "exec_as_kwin_user ... &" gives its PID
#   stop_kwin                     ends it, its session bus and Xvfb, by PID,
#                                 and removes what it made
# KWin refuses to run as root: as root, a throwaway user is made (and removed
# by stop_kwin). /usr/bin/kwin_wayland carries a file capability that a
# container's bounding set may lack, so a plain copy of it runs. Its session
# bus is a private one; the permission checks on its privileged protocols
# (fake input among them) are off.

root_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root_dir/tools/ci/xvfb_display.sh"

KWIN_USER=""
KWIN_MADE_USER=""
KWIN_RUNTIME=""
KWIN_PID=""
KWIN_BUS_PID=""
KWIN_WAYLAND=""
KWIN_X_DISPLAY=""
KWIN_X_WINDOWS=()

as_kwin_user() { (exec_as_kwin_user "$@"); }

exec_as_kwin_user() {
    local vars=(XDG_RUNTIME_DIR="$KWIN_RUNTIME" HOME="$KWIN_RUNTIME" PATH="$PATH" WAYLAND_DISPLAY="$KWIN_WAYLAND"
        DBUS_SESSION_BUS_ADDRESS="unix:path=$KWIN_RUNTIME/bus" ASAN_OPTIONS="${ASAN_OPTIONS:-}"
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}")
    if [ -n "$KWIN_MADE_USER" ]; then
        exec env -i "${vars[@]}" setpriv --reuid="$KWIN_USER" --regid="$KWIN_USER" --init-groups -- "$@"
    fi
    exec env -i "${vars[@]}" "$@"
}

start_kwin() {
    local outputs=$1 size=$2 scale=$3 windowed=${4:-}
    local width=${size%x*} height=${size#*x}
    if [ "$(id -u)" = 0 ]; then
        KWIN_USER=quorbel-kwin-$$
        useradd --system --no-create-home --shell /usr/sbin/nologin "$KWIN_USER" || return 1
        KWIN_MADE_USER=1
    else
        KWIN_USER=$(id -un)
    fi
    KWIN_RUNTIME=$(mktemp -d /tmp/quorbel-kwin.XXXXXX) || return 1
    chmod 0700 "$KWIN_RUNTIME"
    cp /usr/bin/kwin_wayland "$KWIN_RUNTIME/kwin_wayland" || return 1
    [ -n "$KWIN_MADE_USER" ] && chown -R "$KWIN_USER:" "$KWIN_RUNTIME"
    KWIN_BUS_PID=$(as_kwin_user dbus-daemon --session --address="unix:path=$KWIN_RUNTIME/bus" --fork --print-pid) ||
        return 1
    local backend=(--virtual)
    if [ -n "$windowed" ]; then
        # Room for every output's window side by side, at device size.
        local device_width device_height
        device_width=$(python3 -c "print(round($width * $scale))")
        device_height=$(python3 -c "print(round($height * $scale))")
        start_xvfb "$((device_width * outputs))x${device_height}x24" -ac || return 1
        KWIN_X_DISPLAY=$XVFB_DISPLAY
        backend=(--x11-display "$KWIN_X_DISPLAY")
    fi
    KWIN_WAYLAND=wayland-quorbel-$$
    KWIN_COMPOSE=Q KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 exec_kwin "$KWIN_RUNTIME/kwin_wayland" "${backend[@]}" \
        --width "$width" --height "$height" --scale "$scale" --output-count "$outputs" --no-lockscreen \
        --socket "$KWIN_WAYLAND" >"$KWIN_RUNTIME/kwin.log" 2>&1 &
    KWIN_PID=$!
    local limit=$((SECONDS + 60))
    until [ -S "$KWIN_RUNTIME/$KWIN_WAYLAND" ] && { [ -z "$windowed" ] || kwin_windows_placed "$outputs"; }; do
        if [ "$SECONDS" -ge "$limit" ] || ! kill -0 "$KWIN_PID" 2>/dev/null; then
            echo "KWin did not start:" >&2
            cat "$KWIN_RUNTIME/kwin.log" >&2
            return 1
        fi
        sleep 0.1
    done
}

# KWin itself, with the KWIN_ variables set by the caller.
exec_kwin() {
    local vars=(XDG_RUNTIME_DIR="$KWIN_RUNTIME" HOME="$KWIN_RUNTIME" PATH="$PATH"
        DBUS_SESSION_BUS_ADDRESS="unix:path=$KWIN_RUNTIME/bus" KWIN_COMPOSE="$KWIN_COMPOSE"
        KWIN_WAYLAND_NO_PERMISSION_CHECKS="$KWIN_WAYLAND_NO_PERMISSION_CHECKS" DISPLAY="$KWIN_X_DISPLAY")
    if [ -n "$KWIN_MADE_USER" ]; then
        exec env -i "${vars[@]}" setpriv --reuid="$KWIN_USER" --regid="$KWIN_USER" --init-groups -- "$@"
    fi
    exec env -i "${vars[@]}" "$@"
}

# The outputs' X windows all there: they open on top of each other at
# +0+0, so each is moved to its place, left to right.
kwin_windows_placed() {
    local ids
    mapfile -t ids < <(xwininfo -display "$KWIN_X_DISPLAY" -root -children 2>/dev/null |
        sed -n 's/^ *\(0x[0-9a-f]*\) "KDE Wayland Compositor.*/\1/p' | sort)
    [ "${#ids[@]}" = "$1" ] || return 1
    local id x=0 width
    for id in "${ids[@]}"; do
        DISPLAY=$KWIN_X_DISPLAY xdotool windowmove "$id" "$x" 0 || return 1
        width=$(DISPLAY=$KWIN_X_DISPLAY xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p')
        x=$((x + width))
    done
    KWIN_X_WINDOWS=("${ids[@]}")
}

stop_kwin() {
    local pid
    for pid in "$KWIN_PID" "$KWIN_BUS_PID"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
        fi
    done
    KWIN_PID="" KWIN_BUS_PID=""
    if [ -n "$KWIN_X_DISPLAY" ]; then
        stop_xvfb
        KWIN_X_DISPLAY=""
    fi
    if [ -n "$KWIN_MADE_USER" ]; then
        local limit=$((SECONDS + 30))
        while pid=$(pgrep -u "$KWIN_USER" | head -n1) && [ -n "$pid" ]; do
            kill "$pid" 2>/dev/null || true
            [ "$SECONDS" -ge "$limit" ] && break
            sleep 0.1
        done
        userdel "$KWIN_USER" 2>/dev/null || echo "could not remove the user $KWIN_USER" >&2
        KWIN_MADE_USER=""
    fi
    [ -n "$KWIN_RUNTIME" ] && rm -rf "$KWIN_RUNTIME"
    KWIN_RUNTIME=""
    return 0
}
