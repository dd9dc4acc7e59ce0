#!/bin/bash
# The full-screen saver on two monitors side by side, 1920x1080 (primary)
# and 1280x1024 to its right: Xinerama heads of a Xephyr nested in a
# 3200x1080 Xvfb, which Wine reports as two monitors when told not to use
# XRandR. Each monitor shows a world of its own laid out to it: with Big
# cells (40 pixels) the left one's grid fills it, the right one's ends at
# row 1000, so the 24 rows below stay black (one world over the virtual
# screen would cut a row of cells there). A 5-pixel move ends it with 0.
# The strip no monitor shows (1920..3199 x 1024..1079) cannot be judged
# here: X reads back rows of the right head there.
#   two_monitors_full_screen_test.sh <Quorbel.scr>
# Run inside tools/ci/wine_session.sh: the prefix is this test's own, beside
# the session's (UseXRandR=N must not reach the other suites), made on first
# use and kept; it runs on displays of its own.
set -u
. "$(dirname "$0")/../x11/x_test_lib.sh"

program=$1
export WINEPREFIX=${WINEPREFIX:?run it inside wine_session.sh}-two-monitors
export WINEDEBUG=-all
work=$(mktemp -d)
saver=""
settings='HKCU\Software\Pelmar\Quorbel\Settings'

cleanup() {
    [ -n "$saver" ] && kill "$saver" 2>/dev/null && wait "$saver" 2>/dev/null
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    stop_two_heads
    rm -rf "$work"
}
trap cleanup EXIT
failure_details() { cp "$work/now.png" /tmp/two_monitors_failure.png 2>/dev/null && echo "screenshot: /tmp/two_monitors_failure.png"; }

start_two_heads
export DISPLAY=$XVFB_DISPLAY

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null || fail "cannot turn XRandR off"
wine reg delete "$settings" /f >/dev/null 2>&1
for setting in Size=Big Tovtov=Off LifeGame=Off; do
    wine reg add "$settings" /v "${setting%%=*}" /t REG_SZ /d "${setting#*=}" /f >/dev/null
done
wine reg add "$settings" /v Speed /t REG_DWORD /d 19 /f >/dev/null
# Wine reads the monitors when its session starts.
wineserver -k 2>/dev/null
wineserver -w

xdotool mousemove 100 100
wine "$program" /s &
saver=$!
# Cells in the last row and the last column of each monitor's grid, in one
# shot or another: any one shot may come just as a new world starts.
lit() { shot now && sprites_in now 1920x40+0+1040 && sprites_in now 1280x40+1920+960; }
wait_until 60 lit || fail "no cells in the last rows of both monitors within 60 s"
left_column() { shot now && sprites_in now 40x1080+1880+0; }
wait_until 60 left_column || fail "no cell in the left monitor's last column within 60 s"
right_column() { shot now && sprites_in now 40x1024+3160+0; }
wait_until 60 right_column || fail "no cell in the right monitor's last column within 60 s"
for n in 1 2 3; do
    shot now
    below=$(brightest now 1280x24+1920+1000)
    [ "$below" = 0 ] || fail "the 24 rows below the right monitor's grid are not black ($below)"
    sleep 0.5
done
echo "two monitors: each shows a world laid out to it"

xdotool mousemove 105 100
wait_until 30 sh -c "! kill -0 $saver 2>/dev/null" || fail "a 5-pixel move did not end it"
wait "$saver"
status=$?
saver=""
[ "$status" = 0 ] || fail "ended with $status"
echo "a 5-pixel move ends it with 0"
