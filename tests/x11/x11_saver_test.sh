#!/bin/bash
# x11_saver_test.sh <case>: the quorbel program on private Xvfb displays,
# checked on screenshots of the X display. Needs QUORBEL and X_TEST_TOOL (and
# QUORBEL_RENDER for the renderer case) naming the built programs.
set -uo pipefail

. "$(dirname "$0")/x_test_lib.sh"

start_work stop_xvfb

# sprites_everywhere <shot> <region> <cell side>: sprites, and no cell black.
sprites_everywhere() {
    local name=$1 region=$2 side=$3
    local width=${region%%x*} rest=${region#*x}
    local height=${rest%%+*}
    sprites_in "$name" "$region" &&
        [ "$(convert "$work/$name.png" -crop "$region" +repage -scale "$((width / side))x$((height / side))!" \
            -format '%[min]' info:)" != 0 ]
}

start_saver() {  # start_saver <stderr file> <args...>: sets SAVER
    local errors=$1
    shift
    DISPLAY=$XVFB_DISPLAY "$QUORBEL" "$@" 2>"$errors" &
    SAVER=$!
    pids+=("$SAVER")
}

# end_saver <signal>: sends it and waits; sets CODE and ELAPSED_MS.
end_saver() {
    local start=$(date +%s%N)
    kill -"$1" "$SAVER"
    wait "$SAVER"
    CODE=$?
    ELAPSED_MS=$((($(date +%s%N) - start) / 1000000))
}

# The defaults at 1024x768: 30-pixel cells (middle, wriggling), so a 34 x 25
# grid covering 1020 x 750; the strips beyond it are black, although the root
# starts with Xvfb's grey pattern (-retro).
case_root_grid() {
    start_xvfb 1024x768x24 -retro || fail "no Xvfb"
    shot before
    [ "$(brightest before 4x768+1020+0)" != 0 ] || fail "the root was black before the saver started"
    start_saver "$work/err" --root --ticks 1
    lit() { shot after && sprites_in after 1020x750+0+0; }
    wait_until 30 lit || fail "no cell lit inside the grid after the first tick"
    [ "$(brightest after 4x768+1020+0)" = 0 ] || fail "the strip right of the grid is not black"
    [ "$(brightest after 1024x18+0+750)" = 0 ] || fail "the strip below the grid is not black"
    end_saver TERM
    [ "$CODE" = 0 ] || fail "exit code $CODE after SIGTERM: $(cat "$work/err")"
}

# Every cell alive and drawn at the first tick: small cells without wriggle
# are 10 pixels, so a 405x305 window holds 40 x 30 of them.
all_cells=(--speed 19 --life off --wriggle off --cell-size small)

case_window_id() {
    start_xvfb 1024x768x24 || fail "no Xvfb"
    DISPLAY=$XVFB_DISPLAY "$X_TEST_TOOL" create 405x305 >"$work/id" &
    pids+=($!)
    wait_until 10 test -s "$work/id" || fail "the test window did not appear"
    local id
    id=$(cat "$work/id")

    # --window-id, and XScreenSaver's way: --root with XSCREENSAVER_WINDOW.
    local how
    for how in "--window-id $id" "XSCREENSAVER_WINDOW=$id --root"; do
        if [ "${how%% *}" = "--window-id" ]; then
            start_saver "$work/err" --window-id "$id" --ticks 1 "${all_cells[@]}"
        else
            XSCREENSAVER_WINDOW=$id start_saver "$work/err" --root --ticks 1 "${all_cells[@]}"
        fi
        covered() { shot window "$id" && sprites_everywhere window 400x300+0+0 10; }
        wait_until 20 covered || fail "$how: not every cell of the 40 x 30 grid is lit"
        [ "$(brightest window 5x305+400+0)" = 0 ] || fail "$how: the white right strip was not blacked out"
        [ "$(brightest window 405x5+0+300)" = 0 ] || fail "$how: the white bottom strip was not blacked out"
        shot root
        ! sprites_in root 600x400+424+368 || fail "$how: drew outside its window"
        end_saver TERM
        [ "$CODE" = 0 ] || fail "$how: exit code $CODE: $(cat "$work/err")"
        # White again for the next round.
        DISPLAY=$XVFB_DISPLAY xdotool windowunmap --sync "$id" windowmap --sync "$id"
    done
}

# Its own window, grown: the next world fills the new size, and closing the
# window ends the program with 0.
case_resize() {
    start_xvfb 1280x1024x24 || fail "no Xvfb"
    start_saver "$work/err" --window "${all_cells[@]}"
    local id
    find_window() { id=$(DISPLAY=$XVFB_DISPLAY xdotool search --name '^Quorbel$' 2>/dev/null | head -n1) && [ -n "$id" ]; }
    wait_until 30 find_window || fail "no window titled Quorbel: $(cat "$work/err")"
    first_world() { shot window "$id" && sprites_everywhere window 1020x760+0+0 10; }
    wait_until 20 first_world || fail "the first world does not fill the 1024x768 window"

    DISPLAY=$XVFB_DISPLAY xdotool windowsize "$id" 1205 905
    grown() {
        shot window "$id" && [ "$(identify -format %wx%h "$work/window.png")" = 1205x905 ] &&
            sprites_everywhere window 1200x900+0+0 10
    }
    wait_until 20 grown || fail "no new world over the whole 1205x905 window"
    [ "$(brightest window 5x905+1200+0)" = 0 ] || fail "the strip right of the new grid is not black"
    [ "$(brightest window 1205x5+0+900)" = 0 ] || fail "the strip below the new grid is not black"

    DISPLAY=$XVFB_DISPLAY "$X_TEST_TOOL" delete "$id"
    ended() { ! kill -0 "$SAVER" 2>/dev/null; }
    wait_until 10 ended || fail "WM_DELETE_WINDOW did not end the program"
    wait "$SAVER"
    local code=$?
    [ "$code" = 0 ] || fail "exit code $code after WM_DELETE_WINDOW: $(cat "$work/err")"
}

# SIGTERM, SIGINT and SIGHUP end it at once although the next tick is 2 s away.
case_signals() {
    start_xvfb 640x480x24 || fail "no Xvfb"
    local signal
    for signal in TERM INT HUP; do
        # A script's background job starts with SIGINT ignored, which the
        # saver would keep: a terminal's Ctrl-C is meant for the foreground.
        DISPLAY=$XVFB_DISPLAY env --default-signal=INT "$QUORBEL" --root --speed 0 2>"$work/err" &
        SAVER=$!
        pids+=("$SAVER")
        black() { shot root && [ "$(brightest root 640x480+0+0)" = 0 ]; }
        wait_until 10 black || fail "the saver did not black out the root"
        end_saver "$signal"
        [ "$CODE" = 0 ] || fail "SIG$signal: exit code $CODE: $(cat "$work/err")"
        [ "$ELAPSED_MS" -lt 1000 ] || fail "SIG$signal: took $ELAPSED_MS ms with a 2000 ms tick delay"
        [ ! -s "$work/err" ] || fail "SIG$signal: said $(cat "$work/err")"
    done
}

# expect_failure <code> <text> <args...>: the program ends with that code and
# one line of stderr holding the text.
expect_failure() {
    local code=$1 text=$2
    shift 2
    DISPLAY=${XVFB_DISPLAY:-} timeout 20 "$QUORBEL" "$@" >/dev/null 2>"$work/err"
    local got=$?
    [ "$got" = "$code" ] || fail "$*: exit code $got, not $code: $(cat "$work/err")"
    [ "$(wc -l <"$work/err")" = 1 ] || fail "$*: not one line: $(cat "$work/err")"
    grep -qF -- "$text" "$work/err" || fail "$*: \"$(cat "$work/err")\" does not mention $text"
}

case_bad_options() {
    unset DISPLAY
    expect_failure 2 "--frobnicate" --frobnicate
    expect_failure 2 "--speed" --root --speed 20
    expect_failure 2 "random" --speed fast
    expect_failure 2 "--cell-size" --cell-size huge
    expect_failure 2 "--window-id" --window-id zz
    expect_failure 2 "--ticks" --ticks -1
    expect_failure 2 "--generations" --generations 4294967296
    expect_failure 2 "--seed" -seed
    expect_failure 2 "\"stray\"" stray
    XSCREENSAVER_WINDOW=junk expect_failure 2 "XSCREENSAVER_WINDOW" --root
    "$QUORBEL" --speed 3 --help | grep -q -- "--window-id" || fail "--help does not list the options"
}

# What the X server does not give it: a visual it cannot draw on, a window
# that does not exist, a display that goes away.
case_x_failures() {
    start_xvfb 640x480x8 || fail "no Xvfb"
    expect_failure 1 "TrueColor" --root
    expect_failure 1 "TrueColor" --window
    stop_xvfb
    # A 16-bit screen: its own window takes another visual of the screen, the
    # server's 32-bit one for translucent windows.
    local depth
    for depth in 16; do
        start_xvfb "640x480x$depth" || fail "no Xvfb"
        expect_failure 1 "TrueColor" --root
        start_saver "$work/err" --window --speed 19 --ticks 1 "${all_cells[@]}"
        local id
        find_window() { id=$(DISPLAY=$XVFB_DISPLAY xdotool search --name '^Quorbel$' 2>/dev/null | head -n1) && [ -n "$id" ]; }
        wait_until 30 find_window || fail "depth $depth: no window titled Quorbel: $(cat "$work/err")"
        drawn() { shot window "$id" && sprites_everywhere window 630x470+0+0 10; }
        wait_until 20 drawn || fail "depth $depth: its own window is not drawn"
        end_saver TERM
        [ "$CODE" = 0 ] || fail "depth $depth: exit code $CODE: $(cat "$work/err")"
        stop_xvfb
    done
    expect_failure 1 "cannot open the X display" --display :none
    start_xvfb 640x480x24 || fail "no Xvfb"
    expect_failure 1 "0x7654321" --window-id 0x7654321
    start_saver "$work/err" --root --speed 19
    black() { shot root && [ "$(brightest root 640x480+0+0)" = 0 ]; }
    wait_until 10 black || fail "the saver did not black out the root"
    stop_xvfb
    ended() { ! kill -0 "$SAVER" 2>/dev/null; }
    wait_until 10 ended || fail "the saver outlived its X server"
    wait "$SAVER"
    local code=$?
    [ "$code" = 1 ] || fail "exit code $code when the X server went away"
    grep -q "lost the connection" "$work/err" || fail "no message for the lost connection: $(cat "$work/err")"
}

# shows_expected <what>: the root shows $work/expected.png exactly, within 30 s.
shows_expected() {
    convert "$work/expected.png" -depth 8 "rgb:$work/expected.rgb"
    same() {
        import -display "$XVFB_DISPLAY" -window root -depth 8 "rgb:$work/shown.rgb" 2>/dev/null &&
            cmp -s "$work/expected.rgb" "$work/shown.rgb"
    }
    if ! wait_until 30 same; then
        shot shown
        local differing
        differing=$(compare -metric AE "$work/expected.png" "$work/shown.png" null: 2>&1)
        fail "$1: the display differs from quorbel-render's picture in $differing pixels"
    fi
}

# A seeded run shows on the X display exactly the renderer's PNG for the same
# seed, size and ticks: every pixel the palette colour of the frame's index;
# also after a window over it has gone, from what the saver keeps.
seeded=(--seed 7 --speed 19 --species 6 --cell-size small --shrink on --wrap on)
case_renderer_match() {
    local size=800x600 ticks=80
    "$QUORBEL_RENDER" --quiet --resolution "$size" --ticks "$ticks" --png "$work/expected.png" "${seeded[@]}" ||
        fail "quorbel-render failed"
    start_xvfb "${size}x24" || fail "no Xvfb"
    start_saver "$work/err" --root --ticks "$ticks" "${seeded[@]}"
    shows_expected "after $ticks ticks"
    DISPLAY=$XVFB_DISPLAY "$X_TEST_TOOL" create 500x300 >"$work/id" &
    local cover=$!
    pids+=("$cover")
    # One colour, not black: the white window.
    covered() { shot root && [ "$(convert "$work/root.png" -crop 500x300+0+0 -format %k info:)" = 1 ] &&
        [ "$(brightest root 500x300+0+0)" != 0 ]; }
    wait_until 10 covered || fail "the covering window did not appear"
    kill "$cover"
    shows_expected "after an exposure"
    end_saver TERM
    [ "$CODE" = 0 ] || fail "exit code $CODE: $(cat "$work/err")"
}

# At scale 2 (an Xvfb of 192 DPI, or Xft.dpi 192 from xrdb) the picture is the
# renderer's at scale 2, black strips of the odd pixel left over included.
case_scale() {
    local ticks=60
    "$QUORBEL_RENDER" --quiet --resolution 801x601 --scale 2 --ticks "$ticks" --png "$work/expected.png" \
        "${seeded[@]}" || fail "quorbel-render failed"
    start_xvfb 801x601x24 -dpi 192 || fail "no Xvfb"
    start_saver "$work/err" --root --ticks "$ticks" "${seeded[@]}"
    shows_expected "Xvfb -dpi 192"
    end_saver TERM
    stop_xvfb
    # The display never resets (start_xvfb), so it keeps the resource after
    # xrdb, its only client, leaves.
    start_xvfb 801x601x24 || fail "no Xvfb"
    echo "Xft.dpi: 192" | DISPLAY=$XVFB_DISPLAY xrdb -merge || fail "xrdb failed"
    start_saver "$work/err" --root --ticks "$ticks" "${seeded[@]}"
    shows_expected "Xft.dpi 192"
    end_saver TERM
    [ "$CODE" = 0 ] || fail "exit code $CODE: $(cat "$work/err")"
}

# Each way of painting forced in turn shows exactly quorbel-render's picture:
# a request a cell, composed through MIT-SHM, and composed with XPutImage on
# an Xvfb without MIT-SHM; at scale 1 and at scale 2, where composing
# enlarges the sheet itself. An error made before the first composed tick is
# reported, not read as a failed MIT-SHM attach.
case_paint_ways() {
    local size=801x601 ticks=40 scale way forced counted extension
    for scale in 1 2; do
        "$QUORBEL_RENDER" --quiet --resolution "$size" --scale "$scale" --ticks "$ticks" --png "$work/expected.png" \
            "${seeded[@]}" || fail "quorbel-render failed"
        for way in "cells cells" "composed composed-shared" "composed composed-sent MIT-SHM"; do
            read -r forced counted extension <<<"$way"
            start_xvfb "${size}x24" ${extension:+-extension "$extension"} || fail "no Xvfb"
            DISPLAY=$XVFB_DISPLAY "$X_PAINT_TOOL" "$forced" --root --scale "$scale" --ticks "$ticks" "${seeded[@]}" \
                >"$work/out" 2>&1 || fail "$way: $(cat "$work/out")"
            # Only the forced way drew, on every tick.
            awk -v way="$counted" -v ticks="$ticks" '{ for (i = 1; i < NF; i += 2) if (($i == way) != ($(i + 1) >= ticks)) exit 1 }
                NR > 1 { exit 1 }' "$work/out" || fail "$way at scale $scale: $(cat "$work/out")"
            shows_expected "$way at scale $scale"
            stop_xvfb
        done
    done
    start_xvfb "${size}x24" || fail "no Xvfb"
    DISPLAY=$XVFB_DISPLAY "$X_PAINT_TOOL" composed --error-first --root --ticks 2 "${seeded[@]}" >"$work/out" 2>&1 ||
        fail "error first: $(cat "$work/out")"
    grep -q "^X error: BadPixmap" "$work/out" || fail "the error made before the first tick was lost: $(cat "$work/out")"
    grep -q "composed-shared [1-9]" "$work/out" || fail "MIT-SHM was given up for an earlier error: $(cat "$work/out")"
}

"case_$1"
