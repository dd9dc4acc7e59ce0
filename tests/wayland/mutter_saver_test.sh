#!/bin/bash
# mutter_saver_test.sh: quorbel-wayland under a private mutter, GNOME's
# compositor, which offers no layer shell: nested in an Xvfb so that its
# two outputs of 800x600 can be captured. Each output gets a full-screen
# xdg_toplevel (as the saver's protocol log shows it) whose picture equals
# quorbel-render at 800x600; a key, a click and a move given into the
# Xvfb each end it with 0. Needs QUORBEL_WAYLAND and QUORBEL_RENDER naming
# the built programs and GNOME_TEST_CLIENT the session manager's stand-in
# (tests/wayland/gnome_test_client.py).
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/ci/headless_mutter.sh"
. "$root/tests/support/shell_test_lib.sh"

for tool in mutter setpriv dbus-daemon gdbus Xvfb xdotool import "$GNOME_TEST_CLIENT"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/ci/install_deps.sh installs what it needs)"
done

start_work stop_mutter
failure_details() { [ -f "$work/err" ] && grep -v '^\[' "$work/err" | sed 's/^/saver: /'; }

size=800x600
start_mutter "$GNOME_TEST_CLIENT session-manager" nested "$size" "$size" || fail "mutter did not start"
# Keys go to the X window under the pointer: mutter's.
xdo() { DISPLAY=$MUTTER_X_DISPLAY xdotool "$@"; }
xdo mousemove 400 300 || fail "xdotool cannot reach the Xvfb"

# The saver's requests and events as libwayland logs them (lines that
# begin with "["), and anything else it writes, go to $work/err.
start_saver() {
    exec_as_mutter_user env WAYLAND_DEBUG=1 "$QUORBEL_WAYLAND" "$@" 2>"$work/err" &
    saver=$!
    pids+=("$saver")
}
logged() { grep -q -- "$1" "$work/err"; }
# capture: both outputs side by side, to $work/shot.png.
capture() { import -display "$MUTTER_X_DISPLAY" -window root "$work/shot.png" 2>/dev/null; }
differing() {
    convert "$work/shot.png" -crop "$size+$(($1 * ${size%x*}))+0" +repage "$work/shot-$1.png" &&
        compare -metric AE "$work/shot-$1.png" "$work/expected.png" null: 2>&1
}
matches() { capture && [ "$(differing "$1")" = 0 ]; }
# Shown, and input reaches it: mutter gives it the keyboard and pointer.
ready() {
    logged 'wl_keyboard@[0-9]*\.enter(' && logged 'wl_pointer@[0-9]*\.enter(' && capture &&
        [ "$(convert "$work/shot.png" -format '%k' info:)" -gt 2 ]
}
gone() { ! kill -0 "$saver" 2>/dev/null; }

seeded=(--seed 7 --speed 19 --species 6 --cell-size small --ticks 12)
start_saver "${seeded[@]}"
"$QUORBEL_RENDER" --resolution "$size" --quiet --png "$work/expected.png" "${seeded[@]}" ||
    fail "quorbel-render failed"
for output in 0 1; do
    wait_until 30 matches "$output" ||
        fail "output $output differs from quorbel-render at $size in $(differing "$output") pixels"
done
# One full-screen toplevel on each output, none made otherwise.
fullscreen=$(grep -o 'xdg_toplevel@[0-9]*\.set_fullscreen(wl_output@[0-9]*)' "$work/err" | sort -u)
if [ "$(cut -d'(' -f2 <<<"$fullscreen" | sort -u | wc -l)" != 2 ] || [ "$(wc -l <<<"$fullscreen")" != 2 ]; then
    fail "not one full-screen toplevel on each output: ${fullscreen:-none}"
fi
[ "$(grep -c ' -> xdg_surface@[0-9]*\.get_toplevel(' "$work/err")" = 2 ] || fail "toplevels other than the two made"
kill -TERM "$saver"
wait "$saver" || fail "SIGTERM: exit code $?"

for how in "key a" "click 1" "mousemove_relative 40 40"; do
    start_saver --speed 19
    wait_until 30 ready || fail "$how: the saver did not show or has no input"
    # shellcheck disable=SC2086
    xdo $how || fail "xdotool $how failed"
    wait_until 30 gone || fail "xdotool $how did not end it"
    wait "$saver"
    code=$?
    [ "$code" = 0 ] || fail "exit code $code after xdotool $how"
    grep -qv '^\[' "$work/err" && fail "$how: it wrote to standard error"
done
echo "PASS: mutter"
