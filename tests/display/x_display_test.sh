#!/bin/bash
# A tick's drawing is on the X display within the tick, not only in the
# window's device context: x_display_probe runs the saver's display up to a
# big tick after which its picture stands still, and holds its animation
# thread there; the X root window must then show exactly that picture,
# although nothing else happens in the program.
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
wine "$probe" &
wait_until 60 test -f ticked || fail "the probe did not reach its big tick within 60 s"
# Time for a late hand-over to show, were there one.
sleep 1
shot now || fail "no screenshot of the X display"
differing=$(compare -metric AE expected.bmp now.png null: 2>&1)
[ "$differing" = 0 ] || fail "$differing pixels on the X display differ from the still picture"
touch done
wait
echo "the X display shows the last tick's picture"
