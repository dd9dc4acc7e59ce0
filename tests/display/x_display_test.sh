#!/bin/bash
# A tick's drawing is on the X display within the tick, not only in the
# window's device context: x_display_probe runs the saver's display up to a
# big tick after which its picture stands still, and holds its animation
# thread there; the X root window must then show exactly that picture,
# although nothing else happens in the program. Then once more with the
# window's thread painting a corner while the big tick draws: the tick must
# still reach the whole screen.
# Runs inside tools/ci/wine_session.sh (DISPLAY and WINEPREFIX set).
#   x_display_test.sh <x_display_probe.exe>
set -u
. "$(dirname "$0")/../x11/x_test_lib.sh"

probe=$1
XVFB_DISPLAY=$DISPLAY
work=$(mktemp -d)
trap 'touch "$work/done"; wait; rm -rf "$work"' EXIT

failure_details() { touch "$work/done"; echo "pictures kept in $work"; trap - EXIT; }

cd "$work" || exit 1
for mode in still paint-during-tick; do
    rm -f ticked done expected.bmp
    wine "$probe" $mode &
    wait_until 60 test -f ticked || fail "$mode: the probe did not reach its big tick within 60 s"
    # Time for a late hand-over to show, were there one.
    sleep 1
    shot now || fail "$mode: no screenshot of the X display"
    differing=$(compare -metric AE expected.bmp now.png null: 2>&1)
    [ "$differing" = 0 ] || fail "$mode: $differing pixels on the X display differ from the still picture"
    touch done
    wait
    echo "$mode: the X display shows the last tick's picture"
done
