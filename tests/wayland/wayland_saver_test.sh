#!/bin/bash
# wayland_saver_test.sh <case>: quorbel-wayland under a private headless
# sway, checked on each output's capture (grim) against quorbel-render. Sway
# offers the layer shell: the saver is an overlay on each output; cases
# marked so run it as full-screen windows (QUORBEL_WAYLAND_FULLSCREEN=1),
# as desktops without the layer shell show it.
# Needs QUORBEL_WAYLAND and QUORBEL_RENDER naming the built programs. Never
# skips: a missing sway, grim or wtype is a failure.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tools/ci/headless_sway.sh"
. "$root/tests/support/shell_test_lib.sh"
. "$root/tests/wayland/idle_test_lib.sh"

start_work stop_sway

failure_details() {
    [ -n "$SWAY_RUNTIME" ] && [ -f "$work/err" ] && sed 's/^/saver: /' "$work/err"
}

for tool in sway swaymsg grim wtype swayidle setpriv "$IDLE_INHIBITOR"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (tools/ci/install_deps.sh installs it)"
done

saver_env=()     # set by a case: QUORBEL_WAYLAND_FULLSCREEN=1, WAYLAND_DEBUG=1
start_saver() {  # start_saver <args...>: sets SAVER; stderr in $work/err
    exec_as_user env "${saver_env[@]}" "$QUORBEL_WAYLAND" "$@" 2>"$work/err" &
    SAVER=$!
    pids+=("$SAVER")
}

# reaped <how>: the saver, ended by it, exits with 0.
reaped() {
    wait "$SAVER"
    local code=$?
    [ "$code" = 0 ] || fail "exit code $code after $1"
}
end_saver() { kill -TERM "$SAVER" && reaped SIGTERM; }


one_output() { start_sway 1 "output HEADLESS-1 resolution $1" "${@:2}" || fail "sway did not start"; }
two_outputs() {
    start_sway 2 "output HEADLESS-1 resolution 1024x768 position 0 0" \
        "output HEADLESS-2 resolution 800x600 scale 2 position 1024 0" || fail "sway did not start"
}

capture() { as_user grim -o "$1" - >"$work/shot-$1.png" 2>/dev/null; }
# colours <output>: how many its capture has (1 when all black).
colours() { capture "$1" && convert "$work/shot-$1.png" -format '%k' info:; }
drawn() { [ "$(colours "$1")" -gt 2 ] 2>/dev/null; }

# render <name> <resolution> <scale> <args...>: the renderer's picture.
render() {
    local name=$1 resolution=$2 scale=$3
    shift 3
    "$QUORBEL_RENDER" --resolution "$resolution" --scale "$scale" --quiet --png "$work/$name.png" "$@" ||
        fail "quorbel-render failed"
}

# expect_match <output> <picture> <what>: the output's capture comes to equal
# the picture, pixel for pixel.
differing() { compare -metric AE "$work/shot-$1.png" "$work/$2.png" null: 2>&1; }
matches() { capture "$1" && [ "$(differing "$1" "$2")" = 0 ]; }
expect_match() {
    wait_until 30 matches "$1" "$2" || fail "$3 differs from quorbel-render in $(differing "$1" "$2") pixels"
}

quorbel_windows() { as_user swaymsg -t get_tree | grep -c '"app_id": "quorbel"'; }
windows_are() { [ "$(quorbel_windows)" = "$1" ]; }
# The user's window in full screen (quorbel-wayland --window stands in).
fullscreen_window() { [ "$(sway_field get_tree 'find(j)["fullscreen_mode"]')" = 1 ]; }

seeded=(--seed 7 --speed 19 --species 6 --cell-size small)

case_renderer_match() {
    one_output 1024x768
    start_saver "${seeded[@]}" --ticks 12
    render expected 1024x768 1 "${seeded[@]}" --ticks 12
    expect_match HEADLESS-1 expected "the capture"
    end_saver
}

# Over a window the user has in full screen: each output shows the saver,
# which is no window of the tree, and the window is still in full screen
# after a key ends it.
case_two_outputs() {
    two_outputs
    exec_as_user "$QUORBEL_WAYLAND" --window --speed 1 2>"$work/window-err" &
    pids+=($!)
    wait_until 30 windows_are 1 || fail "the user's window did not show: $(cat "$work/window-err")"
    as_user swaymsg '[app_id="quorbel"] fullscreen enable' >/dev/null || fail "swaymsg fullscreen failed"
    wait_until 30 fullscreen_window || fail "the user's window did not go full screen"
    start_saver "${seeded[@]}" --ticks 12
    render first 1024x768 1 "${seeded[@]}" --ticks 12
    render second 800x600 2 "${seeded[@]}" --ticks 12
    expect_match HEADLESS-1 first HEADLESS-1
    expect_match HEADLESS-2 second "HEADLESS-2 (scale 2)"
    [ "$(quorbel_windows)" = 1 ] || fail "the saver is a window of the tree"
    fullscreen_window || fail "the user's window left full screen while the saver showed"
    wait_until 30 key_ends || fail "no key ended it"
    reaped key
    fullscreen_window || fail "the user's window left full screen"
}

# A key as a new keyboard types it: headless sway has none, so wtype's own
# virtual keyboard comes and goes with it, and the saver takes it up only
# once the seat says it is there; wtype waits before typing.
type_key() { as_user wtype -s 300 a; }
key_ends() { type_key && wait_until 2 gone "$SAVER"; }

# Up: sprites on the output; gone: one colour left.
covering() { drawn HEADLESS-1; }
uncovered() { [ "$(colours HEADLESS-1)" = 1 ]; }

# Each way to end it, as overlays; the compositor closing it (kill), as a
# full-screen window. A key sway binds ends it too, and the binding does not
# run: the overlay inhibits sway's shortcuts while it has the keyboard.
case_ends() {
    mkdir -m 0777 "$work/bindings"
    local bound=$work/bindings/ran
    start_sway 1 "output HEADLESS-1 resolution 640x480" "bindsym F12 exec touch $bound" || fail "sway did not start"
    local how
    for how in key bound-key TERM INT HUP-ignored kill; do
        [ "$how" = kill ] && saver_env=(QUORBEL_WAYLAND_FULLSCREEN=1)
        if [ "$how" = HUP-ignored ]; then
            (
                trap '' HUP
                exec_as_user env "${saver_env[@]}" "$QUORBEL_WAYLAND" --speed 19 2>"$work/err"
            ) &
            SAVER=$!
            pids+=("$SAVER")
        else
            start_saver --speed 19
        fi
        wait_until 30 covering || fail "$how: the saver did not show"
        case $how in
            key) wait_until 30 key_ends || fail "no key ended it" ;;
            bound-key)
                bound_key_ends() { as_user wtype -s 300 -k F12 && wait_until 2 gone "$SAVER"; }
                wait_until 30 bound_key_ends || fail "the key sway binds did not end it"
                [ -e "$bound" ] && fail "sway ran its binding under the saver"
                ;;
            TERM | INT) kill -"$how" "$SAVER" ;;
            kill) as_user swaymsg '[app_id="quorbel"] kill' >/dev/null || fail "swaymsg kill failed" ;;
            HUP-ignored)
                # Up and showing, so its handlers are in place: SIGHUP
                # (bit 0 of the masks) must still be ignored, not caught.
                local ignored caught
                ignored=$(sed -n 's/^SigIgn:\s*//p' "/proc/$SAVER/status")
                caught=$(sed -n 's/^SigCgt:\s*//p' "/proc/$SAVER/status")
                (((0x$ignored & 1) == 1 && (0x$caught & 1) == 0)) ||
                    fail "an inherited SIGHUP ignore was not kept (SigIgn $ignored, SigCgt $caught)"
                kill -HUP "$SAVER"
                wait_until 30 key_ends || fail "no key ended it after an ignored SIGHUP"
                ;;
        esac
        wait_until 30 gone "$SAVER" || fail "$how did not end it"
        reaped "$how"
        [ -s "$work/err" ] && fail "$how: it wrote to standard error"
        wait_until 30 uncovered || fail "$how: its picture stayed"
        [ "$(quorbel_windows)" = 0 ] || fail "$how: its window stayed"
    done
}

# sway_field <get_outputs|get_tree> <python expression>: of sway's reply (as
# j), with find(node) giving the quorbel window's node.
sway_field() {
    as_user swaymsg -t "$1" | python3 -c '
import json, sys
def find(node):
    if node.get("app_id") == "quorbel":
        return node
    return next(filter(None, map(find, node.get("nodes", []) + node.get("floating_nodes", []))), None)
j = json.load(sys.stdin)
print(eval(sys.argv[1]))' "$2"
}

case_window() {
    one_output 1024x768
    start_saver --window --speed 19
    wait_until 30 windows_are 1 || fail "the window did not show"
    [ "$(sway_field get_tree 'find(j)["fullscreen_mode"]')" = 0 ] || fail "the window is full screen"
    # Floating and resized, it keeps drawing: sprites in its new area.
    as_user swaymsg '[app_id="quorbel"] floating enable, resize set 300 200' >/dev/null || fail "swaymsg resize failed"
    drawn_in_window() {
        local area
        area=$(sway_field get_tree '"%(width)dx%(height)d+%(x)d+%(y)d" % find(j)["rect"]')
        [ "${area%%+*}" = 300x200 ] && capture HEADLESS-1 &&
            [ "$(convert "$work/shot-HEADLESS-1.png" -crop "$area" +repage -format '%k' info:)" -gt 2 ]
    }
    wait_until 30 drawn_in_window || fail "no sprites in the resized window"
    for _ in 1 2 3; do
        type_key || fail "wtype failed"
    done
    gone "$SAVER" && fail "a key ended the window"
    [ "$(quorbel_windows)" = 1 ] || fail "the window went after a key"
    end_saver
}

case_new_output() {
    one_output 640x480
    start_saver "${seeded[@]}" --ticks 3
    wait_until 30 covering || fail "the saver did not show"
    as_user swaymsg create_output >/dev/null || fail "swaymsg create_output failed"
    # WxH and the scale of the new output.
    local size=() query='" ".join("%(width)dx%(height)d" % o["current_mode"] + " %d" % round(o["scale"]) for o in j if o["name"] == "HEADLESS-2")'
    wait_until 30 test -n "$(sway_field get_outputs "$query")" || fail "no second output"
    read -ra size <<<"$(sway_field get_outputs "$query")"
    render added "${size[@]}" "${seeded[@]}" --ticks 3
    expect_match HEADLESS-2 added "the output created while it ran (${size[*]})"
    end_saver
}

# doubled <output>: its capture has sprites, each pixel drawn as 2 x 2.
doubled() {
    drawn "$1" && [ "$(convert "$work/shot-$1.png" -sample 50% -sample 200% "$work/shot-$1.png" -metric AE \
        -compare -format '%[distortion]' info: 2>&1)" = 0 ]
}

# made_buffers: the WxH of each buffer the saver made, from its protocol log.
made_buffers() { sed -n 's/.*create_buffer(new id wl_buffer@[0-9]*, [0-9]*, \([0-9]*\), \([0-9]*\),.*/\1x\2/p' "$work/err"; }

# A live change of the output's scale starts a world drawn at the new scale,
# laid out once, at the new size: no buffer is made at the old logical size
# times the new scale. As an overlay and as a full-screen window.
case_scale_change() {
    one_output 1024x768
    local fallback
    for fallback in 0 1; do
        saver_env=(WAYLAND_DEBUG=1 "QUORBEL_WAYLAND_FULLSCREEN=$fallback")
        as_user swaymsg output HEADLESS-1 scale 1 >/dev/null || fail "swaymsg output scale failed"
        start_saver --speed 19 --cell-size small --species 6
        wait_until 30 drawn HEADLESS-1 || fail "no sprites at scale 1"
        doubled HEADLESS-1 && fail "drawn in 2 x 2 pixels at scale 1"
        as_user swaymsg output HEADLESS-1 scale 2 >/dev/null || fail "swaymsg output scale failed"
        wait_until 30 doubled HEADLESS-1 || fail "not drawn in 2 x 2 pixels after the scale became 2"
        end_saver
        made_buffers | grep -qx 1024x768 || fail "no buffer of the output's size in the log"
        made_buffers | grep -vx '1024x768\|1x1' | grep . &&
            fail "buffers made beside the output's 1024x768 (fallback $fallback): $(made_buffers | sort -u | tr '\n' ' ')"
    done
    return 0
}

# A workspace switched away hides the first output's surface: the second
# still reaches --ticks, and the first shows its world whole when it comes
# back (its buffer repaired over what it missed).
case_hidden_output() {
    two_outputs
    local slow=(--seed 11 --speed 15 --species 3 --cell-size small)
    # Only windows are hidden by a workspace.
    saver_env=(QUORBEL_WAYLAND_FULLSCREEN=1)
    start_saver "${slow[@]}" --ticks 40
    render first 1024x768 1 "${slow[@]}" --ticks 40
    render second 800x600 2 "${slow[@]}" --ticks 40
    wait_until 30 windows_are 2 || fail "not one surface per output"
    as_user swaymsg focus output HEADLESS-1, workspace hidden >/dev/null || fail "swaymsg workspace failed"
    expect_match HEADLESS-2 second "the visible output"
    [ "$(colours HEADLESS-1)" = 1 ] || fail "the first output still shows the saver on the other workspace"
    as_user swaymsg workspace back_and_forth >/dev/null || fail "swaymsg workspace failed"
    expect_match HEADLESS-1 first "the output hidden meanwhile"
    end_saver
}

# Started by swayidle as the README says (without -w), ended by a key.
case_swayidle() {
    one_output 640x480
    : >"$work/err"
    chmod 0666 "$work/err"
    exec_as_user swayidle timeout 2 "$QUORBEL_WAYLAND --speed 19 2>>$work/err" &
    local idle=$!
    pids+=("$idle")
    wait_until 30 covering || fail "swayidle did not start it"
    key_ends_it() { type_key && wait_until 2 uncovered; }
    wait_until 30 key_ends_it || fail "no key ended it"
    gone "$idle" && fail "swayidle ended with it"
    [ -s "$work/err" ] && fail "it wrote to standard error"
    return 0
}

# A 9000 x 9000 window of small cells while sway stops for 2 s: no end.
case_paused() {
    one_output 1024x768 "floating_maximum_size -1 x -1"
    start_saver --window --speed 19 --cell-size small --species 6
    huge() { [ "$(sway_field get_tree 'find(j)["rect"]["width"]' 2>/dev/null)" = 9000 ]; }
    wait_until 30 covering || fail "the window did not show"
    as_user swaymsg '[app_id="quorbel"] floating enable, resize set 9000 9000' >/dev/null || fail "swaymsg resize failed"
    wait_until 30 huge || fail "the window did not grow"
    kill -STOP "$SWAY_PID" && sleep 2 && kill -CONT "$SWAY_PID"
    as_user swaymsg -t get_version >/dev/null || fail "sway did not come back"
    gone "$SAVER" && reaped "sway's pause"
    end_saver
}

# A compositor that takes connections and never answers: each stop signal
# ends the saver while it waits for the globals.
case_no_answer() {
    local runtime how taken=0
    runtime=$(mktemp -d)
    python3 -c 'import socket, sys
listener, held = socket.socket(socket.AF_UNIX), []
listener.bind(sys.argv[1]), listener.listen()
while True: held.append(listener.accept()[0]), print(len(held), flush=True)' "$runtime/wayland-mute" >"$work/taken" &
    pids+=($!)
    wait_until 30 test -S "$runtime/wayland-mute" || fail "the mute compositor did not start"
    for how in TERM INT HUP; do
        SWAY_RUNTIME=$runtime SWAY_WAYLAND=wayland-mute start_saver
        taken=$((taken + 1))
        wait_until 30 grep -qx "$taken" "$work/taken" || fail "SIG$how: it did not connect"
        kill -"$how" "$SAVER"
        wait_until 30 gone "$SAVER" || fail "SIG$how did not end it while it waited for the compositor"
        reaped "SIG$how"
    done
}

# --idle on sway (org_kde_kwin_idle) as on the other desktops
# (tests/wayland/idle_test_lib.sh), and each showing equal to quorbel-render
# on both outputs.
case_idle() {
    two_outputs
    render first 1024x768 1 "${seeded[@]}" --ticks 12
    render second 800x600 2 "${seeded[@]}" --ticks 12
    saver_env=(WAYLAND_DEBUG=1)
    start_waiter() { start_saver --idle 2 "${seeded[@]}" --ticks 12; }
    each_showing() {
        expect_match HEADLESS-1 first "HEADLESS-1, $1 showing"
        expect_match HEADLESS-2 second "HEADLESS-2, $1 showing"
    }
    WAITER_LOG=$work/err WAITER_LOCK=$SWAY_RUNTIME/quorbel-wayland-idle-$SWAY_WAYLAND.lock DESKTOP_PID=$SWAY_PID
    check_waiter inhibit_idle release_idle 1024x768 400x300
}

# refused <what> <exit code> <line start> <command...>: it ends with that
# code and one line on standard error, which starts so.
refused() {
    local what=$1 expected=$2 start=$3 code
    shift 3
    "$@" >"$work/out" 2>"$work/refusal"
    code=$?
    [ "$code" = "$expected" ] || fail "$what: exit code $code, not $expected"
    [ "$(wc -l <"$work/refusal")" = 1 ] && grep -q "^$start" "$work/refusal" ||
        fail "$what: not one line of ours: $(cat "$work/refusal")"
}

case_bad_options() {
    local args runtime named start vars
    for args in "--bogus" "--speed 20" "--scale 5" "--ticks -1" "--window=1" "--seed"; do
        # shellcheck disable=SC2086
        refused "$args" 2 'quorbel-wayland: ' "$QUORBEL_WAYLAND" $args
    done
    # No compositor, each message naming what in the environment is wrong,
    # never ending in "Success".
    runtime=$(mktemp -d)
    while read -r named start vars; do
        # shellcheck disable=SC2086
        refused "$vars" 1 "quorbel-wayland: ${start//_/ }" env -i $vars "$QUORBEL_WAYLAND" </dev/null
        grep -q "$named" "$work/refusal" || fail "$vars: the message does not name $named: $(cat "$work/refusal")"
        grep -q 'Success$' "$work/refusal" && fail "$vars: $(cat "$work/refusal")"
    done <<EOF
WAYLAND_DISPLAY cannot_connect XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-none
WAYLAND_DISPLAY cannot_connect XDG_RUNTIME_DIR=$runtime
XDG_RUNTIME_DIR cannot_connect WAYLAND_DISPLAY=wayland-none
XDG_RUNTIME_DIR cannot_connect XDG_RUNTIME_DIR=relative
WAYLAND_SOCKET cannot_connect XDG_RUNTIME_DIR=$runtime WAYLAND_SOCKET=abc
WAYLAND_SOCKET cannot_connect XDG_RUNTIME_DIR=$runtime WAYLAND_SOCKET=77
WAYLAND_SOCKET the_connection XDG_RUNTIME_DIR=$runtime WAYLAND_SOCKET=0
EOF
    # The waiter outside a Wayland session (a login entry under X11).
    env -i XDG_RUNTIME_DIR="$runtime" "$QUORBEL_WAYLAND" --idle 5 >"$work/out" 2>&1 ||
        fail "the waiter without WAYLAND_DISPLAY: exit code $?"
    [ -s "$work/out" ] && fail "the waiter without WAYLAND_DISPLAY said: $(cat "$work/out")"
    rmdir "$runtime"
}

"case_$1"
echo "PASS: $1"
