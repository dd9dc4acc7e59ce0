# Sourced by the X11 saver's shell tests: private Xvfb displays, waiting for
# conditions, and looking at screenshots kept in $work.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/tools/ci/xvfb_display.sh"
. "$root/tests/support/shell_test_lib.sh"

# shot <name> [window]: $work/<name>.png from the X display.
shot() { import -display "$XVFB_DISPLAY" -window "${2:-root}" "$work/$1.png" 2>/dev/null; }
# The brightest channel value in a region (WxH+X+Y) of a screenshot; 0 is black.
brightest() { convert "$work/$1.png" -crop "$2" +repage -format '%[max]' info:; }
# Sprites in a region: more colours than a black-and-white (or blank) one has.
sprites_in() { [ "$(convert "$work/$1.png" -crop "$2" +repage -format '%k' info:)" -gt 2 ]; }

# start_two_heads: two monitors side by side, 1920x1080 and 1280x1024 to its
# right, as Xinerama heads of a Xephyr nested in a private Xvfb; sets
# XVFB_DISPLAY (what shot() photographs) to the Xephyr. stop_two_heads ends both.
start_two_heads() {
    start_xvfb 3200x1080x24 || fail "no Xvfb for the nested server"
    DISPLAY=$XVFB_DISPLAY Xephyr -displayfd 3 +xinerama -screen 1920x1080+0+0 -screen 1280x1024+1920+0 \
        -nolisten tcp -noreset 3>"$work/number" 2>/dev/null &
    XEPHYR_PID=$!
    wait_until 20 test -s "$work/number" || fail "Xephyr did not start"
    XVFB_DISPLAY=":$(head -n1 "$work/number")"
}
stop_two_heads() {
    [ -n "${XEPHYR_PID:-}" ] && kill "$XEPHYR_PID" 2>/dev/null && wait "$XEPHYR_PID" 2>/dev/null
    XEPHYR_PID=""
    stop_xvfb
}
