# Sourced by the X11 saver's shell tests: private Xvfb displays, waiting for
# conditions, and looking at screenshots kept in $work.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/tools/ci/xvfb_display.sh"

# Says what failed, and what failure_details (if the test defines it) adds.
fail() {
    echo "FAIL: $*" >&2
    if declare -F failure_details >/dev/null; then
        failure_details >&2
    fi
    exit 1
}

# wait_until <seconds> <command...>: true once the command succeeds.
wait_until() {
    local limit=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$limit" ] && return 1
        sleep 0.1
    done
}

# shot <name> [window]: $work/<name>.png from the X display.
shot() { import -display "$XVFB_DISPLAY" -window "${2:-root}" "$work/$1.png" 2>/dev/null; }
# The brightest channel value in a region (WxH+X+Y) of a screenshot; 0 is black.
brightest() { convert "$work/$1.png" -crop "$2" +repage -format '%[max]' info:; }
# Sprites in a region: more colours than a black-and-white (or blank) one has.
sprites_in() { [ "$(convert "$work/$1.png" -crop "$2" +repage -format '%k' info:)" -gt 2 ]; }
