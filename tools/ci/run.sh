#!/bin/bash
# The run command: installs what is missing, builds the saver and starts it
# full screen under Wine.
#
# With a display ($DISPLAY set) the saver runs on it until a key press, a
# click or a mouse movement ends it. Without one it runs for a few seconds on
# a private virtual display, screenshots are taken, the saver is ended with a
# mouse movement, and the script prints where the pictures are.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUORBEL_BUILD_DIR:-$root/build}
prefix=${QUORBEL_WINEPREFIX:-$build/wineprefix}
shots=${QUORBEL_SCREENSHOT_DIR:-$build/screenshots}
program=$build/win32/host/Quorbel.scr

# Inside the virtual display's session: run, look, end.
if [ "${1:-}" = "--headless-run" ]; then
    rm -f "$shots"/saver-*.png
    wine "$program" /s &
    saver=$!
    # Wait for the saver's window rather than for a fixed time.
    for _ in $(seq 1 100); do
        xwininfo -root -tree 2>/dev/null | grep -q '"Screen Saver"' && break
        sleep 0.2
    done
    for n in 1 2 3; do
        sleep 2
        import -window root "$shots/saver-$n.png"
    done
    # Any movement of more than 4 pixels ends the saver.
    xdotool mousemove_relative -- 40 30 || true
    for _ in $(seq 1 50); do
        kill -0 "$saver" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$saver" 2>/dev/null; then
        echo "the saver did not end on a mouse movement" >&2
        exit 1
    fi
    wait "$saver" && code=0 || code=$?
    echo "the saver ended on a mouse movement with exit code $code"
    exit 0
fi

"$root/tools/ci/install_deps.sh"
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2

echo "== building the sprite-sheet generator (native)"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/native" -j "$jobs" --target quorbel_sheet

echo "== building Quorbel.scr (Windows 32-bit)"
cmake -S "$root" -B "$build/win32" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
    -DQUORBEL_NATIVE_BUILD_DIR="$build/native" >/dev/null
cmake --build "$build/win32" -j "$jobs" --target quorbel_scr_build
echo "built $program"

if [ -n "${DISPLAY:-}" ]; then
    echo "== running the saver full screen on $DISPLAY (any key, click or movement ends it)"
    export WINEPREFIX="$prefix" WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
    wine "$program" /s
else
    echo "== no display: running the saver on a virtual display"
    mkdir -p "$shots"
    QUORBEL_SCREENSHOT_DIR="$shots" "$root/tools/ci/wine_session.sh" "$prefix" \
        env QUORBEL_BUILD_DIR="$build" QUORBEL_SCREENSHOT_DIR="$shots" "$0" --headless-run
    echo "screenshots of the running saver:"
    ls -1 "$shots"/saver-*.png
fi
