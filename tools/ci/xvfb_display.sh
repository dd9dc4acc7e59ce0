# Sourced by scripts that need private X displays:
#   start_xvfb <WxHxD> [Xvfb args...]   starts one; sets XVFB_PID and XVFB_DISPLAY
#   stop_xvfb                           ends the one started last
# Each display is private (-displayfd picks a free number, no TCP) and is
# ended by the script that started it.

start_xvfb() {
    local screen=$1
    shift
    local number_file
    number_file=$(mktemp)
    # -noreset: by default the server resets when its last client leaves,
    # and a program connecting in that moment is turned away ("cannot open
    # the X display"), as when a test runs one program right after another.
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset "$@" 3>"$number_file" 2>/dev/null &
    XVFB_PID=$!
    local tries
    for tries in $(seq 1 200); do
        [ -s "$number_file" ] && break
        sleep 0.05
    done
    if [ ! -s "$number_file" ]; then
        echo "Xvfb did not start" >&2
        rm -f "$number_file"
        return 1
    fi
    XVFB_DISPLAY=":$(head -n1 "$number_file")"
    rm -f "$number_file"
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    fi
}
