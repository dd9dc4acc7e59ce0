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
# by stop_kwin, tools/ci/session_user.sh). /usr/bin/kwin_wayland carries a file capability that a
# container's bounding set may lack, so a plain copy of it runs. Its session
# bus is a private one; the permission checks on its privileged protocols
# (fake input among them) are off.

. "$(dirname "${BASH_SOURCE[0]}")/session_user.sh"
. "$(dirname "${BASH_SOURCE[0]}")/xvfb_display.sh"

KWIN_RUNTIME=""
KWIN_PID=""
KWIN_BUS_PID=""
KWIN_WAYLAND=""
KWIN_X_DISPLAY=""
KWIN_X_WINDOWS=()

as_kwin_user() { (exec_as_kwin_user "$@"); }

# With KWIN_ENV (VAR=value ...) added: KWin's own variables for exec_kwin.
exec_as_kwin_user() {
    exec_as_session_user XDG_RUNTIME_DIR="$KWIN_RUNTIME" HOME="$KWIN_RUNTIME" PATH="$PATH" \
        WAYLAND_DISPLAY="$KWIN_WAYLAND" DBUS_SESSION_BUS_ADDRESS="unix:path=$KWIN_RUNTIME/bus" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "${KWIN_ENV[@]}" -- "$@"
}
KWIN_ENV=()

start_kwin() {
    local outputs=$1 size=$2 scale=$3 windowed=${4:-}
    local width=${size%x*} height=${size#*x}
    make_session_user quorbel-kwin || return 1
    KWIN_RUNTIME=$(mktemp -d /tmp/quorbel-kwin.XXXXXX) || return 1
    chmod 0700 "$KWIN_RUNTIME"
    cp /usr/bin/kwin_wayland "$KWIN_RUNTIME/kwin_wayland" || return 1
    [ -n "$SESSION_USER_MADE" ] && chown -R "$SESSION_USER:" "$KWIN_RUNTIME"
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
    (
        KWIN_ENV=(KWIN_COMPOSE=Q KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 DISPLAY="$KWIN_X_DISPLAY")
        exec_as_kwin_user "$KWIN_RUNTIME/kwin_wayland" "${backend[@]}" --width "$width" --height "$height" \
            --scale "$scale" --output-count "$outputs" --no-lockscreen --socket "$KWIN_WAYLAND"
    ) >"$KWIN_RUNTIME/kwin.log" 2>&1 &
    KWIN_PID=$!
    kwin_ready() { [ -S "$KWIN_RUNTIME/$KWIN_WAYLAND" ] && { [ -z "$windowed" ] || kwin_windows_placed "$outputs"; }; }
    await_compositor KWin "$KWIN_PID" "$KWIN_RUNTIME/kwin.log" kwin_ready
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
    end_session "$KWIN_RUNTIME" "$KWIN_PID" "$KWIN_BUS_PID"
    [ -z "$KWIN_X_DISPLAY" ] || stop_xvfb
    KWIN_PID="" KWIN_BUS_PID="" KWIN_X_DISPLAY="" KWIN_RUNTIME=""
}
