#!/bin/bash
# wine_session.sh <prefix-dir> <command> [args...]
#
# Runs a command inside a private Wine prefix and on a private Xvfb display,
# both started here and both ended here, whatever the command's outcome.
# The prefix is created on first use (wineboot -i) and kept for later runs;
# with WINEARCH=win32 set it is a 32-bit prefix, else a 64-bit one.
set -u

prefix=$(realpath -m "$1")
shift

export WINEPREFIX="$prefix"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINE_SCREEN=${WINE_SCREEN:-1024x768x24}

mkdir -p "$(dirname "$prefix")"
# shellcheck source=xvfb_display.sh
. "$(dirname "$0")/xvfb_display.sh"

cleanup() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    stop_xvfb
}
trap cleanup EXIT

start_xvfb "$WINE_SCREEN" || exit 1
export DISPLAY="$XVFB_DISPLAY"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine_session: creating prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi

"$@"
