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
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "$WINE_SCREEN" -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!

cleanup() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    rm -f "$display_file"
}
trap cleanup EXIT

for _ in $(seq 1 200); do
    [ -s "$display_file" ] && break
    sleep 0.05
done
if [ ! -s "$display_file" ]; then
    echo "wine_session: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$display_file")"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine_session: creating prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi

"$@"
