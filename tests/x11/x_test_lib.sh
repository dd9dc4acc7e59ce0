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
