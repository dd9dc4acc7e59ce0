#!/bin/bash
# kwin_saver_test.sh: quorbel-wayland under a private KWin at scale 1.5 with
# two outputs of 1280x800 logical pixels, X11-windowed in an Xvfb so that
# they can be captured. Each output is an overlay drawn at its exact device
# size (1920x1200, through a viewport) with the sprite scale the device
# ratio gives (2), equal to quorbel-render; a key, a click and a move given
# through org_kde_kwin_fake_input each end it. Needs QUORBEL_WAYLAND,
# QUORBEL_RENDER and KWIN_FAKE_INPUT naming the built programs.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/ci/headless_kwin.sh"
. "$root/tests/support/shell_test_lib.sh"

for tool in /usr/bin/kwin_wayland setpriv dbus-daemon Xvfb xwininfo import "${KWIN_FAKE_INPUT:-kwin_fake_input}"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/ci/install_deps.sh installs what it needs)"
done

start_work stop_kwin
failure_details() { [ -f "$work/err" ] && sed 's/^/saver: /' "$work/err"; }

start_kwin 2 1280x800 1.5 windowed || fail "KWin did not start"

start_saver() {
    exec_as_kwin_user "$QUORBEL_WAYLAND" "$@" 2>"$work/err" &
    SAVER=$!
    pids+=("$SAVER")
}
# capture <n>: the n-th output's X window, to $work/shot-<n>.png.
capture() { import -display "$KWIN_X_DISPLAY" -window "${KWIN_X_WINDOWS[$1]}" "$work/shot-$1.png" 2>/dev/null; }
differing() { compare -metric AE "$work/shot-$1.png" "$work/expected.png" null: 2>&1; }
matches() { capture "$1" && [ "$(differing "$1")" = 0 ]; }
drawn() { capture 0 && [ "$(convert "$work/shot-0.png" -format '%k' info:)" -gt 2 ]; }

seeded=(--seed 7 --speed 19 --species 6 --cell-size small --ticks 12)
start_saver "${seeded[@]}"
"$QUORBEL_RENDER" --resolution 1920x1200 --scale 2 --quiet --png "$work/expected.png" "${seeded[@]}" ||
    fail "quorbel-render failed"
for output in 0 1; do
    wait_until 30 matches "$output" ||
        fail "output $output differs from quorbel-render at 1920x1200, scale 2, in $(differing "$output") pixels"
done
kill -TERM "$SAVER"
reaped SIGTERM

for how in key click move; do
    start_saver --speed 19
    wait_until 30 drawn || fail "$how: the saver did not show"
    as_kwin_user "$KWIN_FAKE_INPUT" "$how" || fail "kwin_fake_input $how failed"
    wait_until 30 gone "$SAVER" || fail "a $how did not end it"
    reaped "a $how"
    [ -s "$work/err" ] && fail "$how: it wrote to standard error"
done
echo "PASS: kwin"
