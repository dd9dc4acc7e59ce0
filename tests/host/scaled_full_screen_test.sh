#!/bin/bash
# The full-screen saver on a 192-DPI display (LogPixels 192, where Windows
# keeps the scaling) draws at scale 2, as quorbel-render --scale 2 does: on
# the X display every sprite pixel is a 2 x 2 block, the cells (15 pixels,
# Small and wriggling) fill the grid of the logical 512 x 384 screen twice as
# large, 1020 x 750, and the strips past it stay black. The saver takes no
# seed, so its geometry is judged, not its pixels.
# Runs inside tools/ci/wine_session.sh on its 1024x768 display.
#   scaled_full_screen_test.sh <Quorbel.scr>
set -u
. "$(dirname "$0")/../x11/x_test_lib.sh"

program=$1
XVFB_DISPLAY=$DISPLAY
work=$(mktemp -d)
desktop='HKCU\Control Panel\Desktop'
settings='HKCU\Software\Pelmar\Quorbel\Settings'
saver=""

# The prefix is shared with the other suites: their settings come back.
wine reg export "$settings" "$work/settings.reg" >/dev/null 2>&1
restore() {
    [ -n "$saver" ] && kill "$saver" 2>/dev/null && wait "$saver" 2>/dev/null
    wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1
    wine reg delete "$settings" /f >/dev/null 2>&1
    [ -f "$work/settings.reg" ] && wine reg import "$work/settings.reg" >/dev/null 2>&1
    rm -rf "$work"
}
trap restore EXIT
failure_details() { cp "$work/now.png" /tmp/scaled_full_screen_failure.png 2>/dev/null && echo "screenshot: /tmp/scaled_full_screen_failure.png"; }

[ "$(xdpyinfo -display "$DISPLAY" | awk '/dimensions:/ {print $2}')" = 1024x768 ] || fail "the display is not 1024x768"
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 192 /f >/dev/null || fail "cannot set LogPixels"
wine reg delete "$settings" /f >/dev/null 2>&1
for setting in Size=Small Tovtov=On LifeGame=Off; do
    wine reg add "$settings" /v "${setting%%=*}" /t REG_SZ /d "${setting#*=}" /f >/dev/null
done
wine reg add "$settings" /v Speed /t REG_DWORD /d 19 /f >/dev/null

wine "$program" /s &
saver=$!
# Cells in the bottom right quarter: the world spans the whole screen.
lit() { shot now && sprites_in now 480x360+520+380; }
wait_until 60 lit || fail "no cells in the bottom right quarter of the X display within 60 s"

convert "$work/now.png" -sample 50% -sample 200% "$work/blocks.png"
differing=$(compare -metric AE "$work/now.png" "$work/blocks.png" null: 2>&1)
[ "$differing" = 0 ] || fail "$differing pixels are not in 2 x 2 blocks of one colour"
right=$(brightest now 4x768+1020+0)
bottom=$(brightest now 1024x18+0+750)
[ "$right" = 0 ] && [ "$bottom" = 0 ] || fail "the strips past the 1020 x 750 grid are not black ($right, $bottom)"
sprites_in now 30x750+990+0 || fail "no cell in the grid's last column"
sprites_in now 1020x30+0+720 || fail "no cell in the grid's last row"
echo "scale 2: the picture is the grid of 512 x 384 in 2 x 2 blocks, the strips black"
