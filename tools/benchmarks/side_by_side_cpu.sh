#!/bin/bash
# The CPU a screen saver costs, program and X server together, measured side
# by side with other savers. Each contestant runs alone on a fresh Xvfb of
# the scene's size; after a warm-up (3 s) the user + system time of its
# processes and of its Xvfb is counted over a span (15 s) from /proc/PID/stat
# and printed as a share of one core.
#
# Usage: tools/benchmarks/side_by_side_cpu.sh [native build folder]
#   WARMUP=seconds SPAN=seconds change the times.
#   SCENES="x11 wine worst" picks the scenes (any of them, in any order;
#   they always run in this order):
#     x11    quorbel --root against Cloud Life, 1920x1080
#     wine   Quorbel.scr /s under Wine against Cloud Life, 1920x1080, and
#            corner_squares.exe: what any full-screen program that changes
#            its picture every 28 ms costs under Wine, the saver's floor
#     worst  quorbel's worst case, 3840x2160: its share of a core, and how
#            long 300 ticks take against 300 x 28 ms
#     worst-memory  quorbel's worst case, 3840x2160, at scales 1, 2 and 4:
#            its share of a core and its VmRSS, PAIRS rounds; with
#            QUORBEL_BEFORE=path (an older build) each round runs that one
#            too, in turn (A B A B), and the medians are compared
#     wine-worst  Quorbel.scr's worst case under Wine against corner_squares.exe,
#            3840x2160
#     wine-scale  Quorbel.scr's worst case under Wine, 3840x2160, at scales
#            1, 2 and 4 (LogPixels 96, 192, 384) in turn, PAIRS rounds, with
#            QUORBEL_SCR_BEFORE in the same rounds when given
#     wine-two-monitors  Quorbel.scr under Wine on two monitors, 1920x1080
#            and 1280x1024 beside it (Xinerama heads of a Xephyr nested in a
#            3200x1080 Xvfb; Wine sees them with UseXRandR=N, set in a prefix
#            of the scene's own, BENCH_WINEPREFIX with -two-monitors added),
#            small wriggling cells at Speed 19, in turn with
#            QUORBEL_SCR_BEFORE when given (an older build: one world over
#            both), PAIRS rounds; the X server's share is Xephyr's and Xvfb's
#     wayland  quorbel-wayland under a private headless sway (as the tests
#            run it) against quorbel on Xvfb, in turn, PAIRS rounds: at
#            1920x1080 (Speed 19, small, wriggling) and in the 3840x2160
#            worst case; program + compositor, private memory, and how
#            long 300 ticks take at 4K. QUORBEL_WAYLAND=path the program
#            (default: wayland/quorbel-wayland in the native build folder).
#   Cloud Life is measured once for x11 and wine together. The Windows
#   programs are measured in turn with corner_squares.exe, PAIRS rounds
#   (default 3: A B A B A B), and given as min / median / max.
#   QUORBEL_SCR_BEFORE=path  another Windows program (an older build) taken
#     into each round too, so that before and after are measured side by side.
#   PERF=folder  records where each contestant's time goes while it is
#     counted (perf record -g on its processes, one file per measurement);
#     read with perf report -i <file> --sort dso,symbol. Under Wine only the
#     ELF parts (wineserver, Wine's own DLLs) have symbols; the program's own
#     functions show as addresses in its .scr, which
#     addr2line -e <build>/program-win32threads/host/Quorbel.scr -f resolves.
#   PAIRS=n  how many times quorbel and Cloud Life run in turn (A B A B;
#     default 3), and how many timed runs of the worst case; min, median and
#     max are printed. QUORBEL=path  the X11 program (default: x11/quorbel
#     in the native build folder), so that an older build can be measured.
#   SCALE="--scale n"  quorbel's scale (default --scale 1; SCALE= for a build
#     without the option).
#   PROFILE=1  also records the native scenes with perf (program and X
#     server, call graphs) into perf-<scene>.data in the current folder;
#     read them with perf report -i perf-<scene>.data --no-children.
#   QUORBEL_SCR=path  the Windows program (default: win32/host/Quorbel.scr
#     beside the native build folder), so that a copy of an older build can
#     be measured too.
#   BENCH_WINEPREFIX=folder  the Wine prefix (default: wineprefix-bench
#     beside the native build folder), created on first use.
#
# A contestant is a function start_<name> <display> [args...]: it starts the
# program on that display and sets CONTESTANT_PIDS to the processes whose time
# counts as the program's (more than one for a program with helpers of its
# own). It may also set CONTESTANT_PARTS (a name for each of those processes,
# printed with their shares), CONTESTANT_LABEL (the row's name) and
# CONTESTANT_STOP (a function that ends it, when killing the pids is not
# enough).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
warmup=${WARMUP:-3}
span=${SPAN:-15}
scenes=${SCENES:-x11 wine worst}
pairs=${PAIRS:-3}
perf_folder=${PERF:-}
quorbel_x11=${QUORBEL:-$build/x11/quorbel}
# Scale 1 whatever the display says; SCALE= (empty) for a build without --scale.
read -ra scale <<<"${SCALE---scale 1}"
quorbel_scr=${QUORBEL_SCR:-$build/../win32/host/Quorbel.scr}
wineprefix=$(realpath -m "${BENCH_WINEPREFIX:-$build/../wineprefix-bench}")
quorbel_wayland=${QUORBEL_WAYLAND:-$build/wayland/quorbel-wayland}
# shellcheck source-path=SCRIPTDIR source=../ci/xvfb_display.sh
. "$root/tools/ci/xvfb_display.sh"
# shellcheck source-path=SCRIPTDIR source=../ci/headless_sway.sh
. "$root/tools/ci/headless_sway.sh"

for scene in $scenes; do
    case $scene in
    x11 | wine | worst | worst-memory | wine-worst | wine-scale | wine-two-monitors | wayland) ;;
    *)
        echo "unknown scene '$scene' (x11, wine, worst, worst-memory, wine-worst, wine-scale, wine-two-monitors, wayland)" >&2
        exit 2
        ;;
    esac
done
selected() { [[ " $scenes " == *" $1 "* ]]; }

CONTESTANT_PIDS=()
CONTESTANT_PARTS=()
CONTESTANT_LABEL=""
CONTESTANT_STOP=""
stop_contestant() {
    local pid
    if [ -n "$CONTESTANT_STOP" ]; then
        "$CONTESTANT_STOP"
    else
        for pid in "${CONTESTANT_PIDS[@]}"; do
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        done
    fi
    CONTESTANT_PIDS=()
    CONTESTANT_PARTS=()
    CONTESTANT_LABEL=""
    CONTESTANT_STOP=""
}
trap 'stop_contestant; stop_screen; stop_sway' EXIT

# ---- screens -----------------------------------------------------------------
# start_screen <WxH | two-heads>: a fresh Xvfb of that size, or for two-heads
# a 3200x1080 Xvfb with a Xephyr on it showing two Xinerama heads, 1920x1080
# at 0,0 and 1280x1024 at 1920,0. Sets SCREEN_DISPLAY (where programs go) and
# SCREEN_PIDS (the X servers, whose time counts as the X server's).
XEPHYR_PID=""
start_screen() {
    if [ "$1" != two-heads ]; then
        start_xvfb "$1x24"
        SCREEN_DISPLAY=$XVFB_DISPLAY
        SCREEN_PIDS=("$XVFB_PID")
        return
    fi
    start_xvfb 3200x1080x24
    local number_file
    number_file=$(mktemp)
    DISPLAY=$XVFB_DISPLAY Xephyr -displayfd 3 +xinerama -screen 1920x1080+0+0 -screen 1280x1024+1920+0 \
        -nolisten tcp -noreset 3>"$number_file" 2>/dev/null &
    XEPHYR_PID=$!
    for _ in $(seq 1 200); do
        [ -s "$number_file" ] && break
        sleep 0.05
    done
    SCREEN_DISPLAY=":$(head -n1 "$number_file")"
    rm -f "$number_file"
    SCREEN_PIDS=("$XEPHYR_PID" "$XVFB_PID")
}

stop_screen() {
    if [ -n "$XEPHYR_PID" ]; then
        kill "$XEPHYR_PID" 2>/dev/null || true
        wait "$XEPHYR_PID" 2>/dev/null || true
        XEPHYR_PID=""
    fi
    stop_xvfb
}

# quorbel --root with the given settings options.
start_quorbel() {
    local display=$1
    shift
    DISPLAY=$display "$quorbel_x11" --root "$@" &
    CONTESTANT_PIDS=($!)
}

# XScreenSaver's Cloud Life (xscreensaver-data-extra). Its --cell-size is a
# power of two: 4 gives 16-pixel cells (16 would give cells of 65536 pixels,
# and a black screen).
start_cloudlife() {
    local display=$1
    shift
    DISPLAY=$display /usr/libexec/xscreensaver/cloudlife -root "$@" &
    CONTESTANT_PIDS=($!)
}

# Cloud Life's package, installed when dpkg lacks it (as tools/ci/install_deps.sh
# does: apt-get only then).
need_cloudlife() {
    if ! dpkg-query -W -f='${Status}' xscreensaver-data-extra 2>/dev/null | grep -q "ok installed"; then
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        echo "installing: xscreensaver-data-extra"
        $sudo apt-get update -qq
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            xscreensaver-data-extra >/dev/null
    fi
}

# ---- Quorbel.scr under Wine --------------------------------------------------
# A command in the benchmark's own prefix; no Mono or Gecko prompts when the
# prefix is new, and no debug output.
in_prefix() {
    env WINEPREFIX="$wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$@"
}

# prefix_pid <process name pattern>: the pid of our prefix's process whose
# name (/proc/PID/comm, at most 15 characters) matches the extended regular
# expression, or nothing. Other prefixes' processes of the same name are told
# apart by the WINEPREFIX in their environment.
prefix_pid() {
    local pid
    for pid in $(pgrep -u "$(id -u)" -x -- "$1" || true); do
        if 2>/dev/null tr '\0' '\n' <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$wineprefix"; then
            echo "$pid"
            return 0
        fi
    done
}

# start_quorbel_scr <display> [program] [Name=value...]: <program> /s (the
# full-screen saver) under Wine, after replacing the settings key with the
# values given (registry value names; Speed and Generations are DWORDs, the
# rest words), so every setting not given is the program's default; LogPixels
# is the display's DPI instead (96 when not given), UseXRandR=N has Wine read
# the monitors from Xinerama (kept in the prefix). Counted:
# the saver's process and the prefix's wineserver, which does the work of
# every call the saver makes into the window system.
SCR_LAUNCHER=""
start_quorbel_scr() {
    local display=$1 program=${2:-$quorbel_scr}
    shift $(($# < 2 ? $# : 2))
    if [ ! -f "$program" ]; then
        echo "no Windows program at $program (QUORBEL_SCR)" >&2
        return 1
    fi
    CONTESTANT_STOP=stop_quorbel_scr
    CONTESTANT_LABEL="$(basename "$program") /s (Wine) $*"
    if [ ! -f "$wineprefix/system.reg" ]; then
        echo "  (creating the Wine prefix $wineprefix)"
        mkdir -p "$(dirname "$wineprefix")"
        DISPLAY=$display in_prefix wineboot -i >/dev/null 2>&1
        in_prefix wineserver -w
    fi
    # The first of these starts the prefix's wineserver and its desktop
    # process, which the saver then shares: they need the display too.
    local key='HKCU\Software\Pelmar\Quorbel\Settings' setting name type
    DISPLAY=$display in_prefix wine reg delete "$key" /f >/dev/null 2>&1 || true
    DISPLAY=$display in_prefix wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
    for setting in "$@"; do
        name=${setting%%=*}
        case $name in
        LogPixels)
            DISPLAY=$display in_prefix wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${setting#*=}" /f >/dev/null
            continue
            ;;
        UseXRandR)
            DISPLAY=$display in_prefix wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d "${setting#*=}" /f >/dev/null
            # Read as the session starts: the next program starts a new one.
            in_prefix wineserver -k 2>/dev/null || true
            in_prefix wineserver -w 2>/dev/null || true
            continue
            ;;
        Speed | Generations) type=REG_DWORD ;;
        *) type=REG_SZ ;;
        esac
        DISPLAY=$display in_prefix wine reg add "$key" /v "$name" /t "$type" /d "${setting#*=}" /f >/dev/null
    done
    DISPLAY=$display in_prefix wine "$program" /s &
    SCR_LAUNCHER=$!
    # The saver's process is named after its file; the wineserver binary is
    # wineserver or wineserver64 depending on the packaging.
    local name_pattern saver="" server=""
    name_pattern=$(basename "$program")
    name_pattern=${name_pattern:0:15}
    name_pattern=${name_pattern//./\\.}
    for _ in $(seq 1 100); do
        saver=$(prefix_pid "$name_pattern")
        server=$(prefix_pid 'wineserver(64)?')
        [ -n "$saver" ] && [ -n "$server" ] && break
        sleep 0.1
    done
    if [ -z "$saver" ] || [ -z "$server" ]; then
        echo "the saver's process or the prefix's wineserver did not appear (or the saver ended at once)" >&2
        return 1
    fi
    CONTESTANT_PIDS=("$saver" "$server")
    CONTESTANT_PARTS=("$(basename "$program")" wineserver)
}

stop_quorbel_scr() {
    if [ ${#CONTESTANT_PIDS[@]} -gt 0 ]; then
        kill "${CONTESTANT_PIDS[0]}" 2>/dev/null || true
    fi
    if [ -n "$SCR_LAUNCHER" ]; then
        kill "$SCR_LAUNCHER" 2>/dev/null || true
        wait "$SCR_LAUNCHER" 2>/dev/null || true
        SCR_LAUNCHER=""
    fi
    in_prefix wineserver -k 2>/dev/null || true
    in_prefix wineserver -w 2>/dev/null || true
}

# ---- measuring ---------------------------------------------------------------
# Clock ticks of user + system time of the processes given. A process that has
# ended (or is a zombie) would freeze its count, so that is an error.
cpu_ticks() {
    local pid total=0 fields
    for pid in "$@"; do
        # Fields 3, 14 and 15, counted after the name in parentheses.
        fields=$(sed 's/^.*) //' "/proc/$pid/stat" 2>/dev/null | awk '{print $1, $12 + $13}')
        if [ -z "$fields" ] || [ "${fields%% *}" = Z ]; then
            echo "process $pid ended during the measurement" >&2
            return 1
        fi
        total=$((total + ${fields#* }))
    done
    echo "$total"
}

# share <ticks>: the ticks as a percentage of one core over the span.
share() { awk -v p="$1" -v hz="$(getconf CLK_TCK)" -v t="$span" 'BEGIN {printf "%.1f", 100 * p / hz / t}'; }

# measure <size> <contestant> [options...]: prints the program's, the
# server's and the total share of a core (and, for a program of several
# processes, each one's), and leaves the total in SHARE. The size is
# start_screen's.
measure() {
    local size=$1 contestant=$2
    shift 2
    start_screen "$size"
    "start_$contestant" "$SCREEN_DISPLAY" "$@"
    local label=${CONTESTANT_LABEL:-$contestant $*} pids=("${CONTESTANT_PIDS[@]}")
    local parts=("${CONTESTANT_PARTS[@]}") before=() after=() i server0 server1
    sleep "$warmup"
    for i in "${!pids[@]}"; do before[i]=$(cpu_ticks "${pids[i]}"); done
    server0=$(cpu_ticks "${SCREEN_PIDS[@]}")
    if [ -n "$perf_folder" ]; then
        mkdir -p "$perf_folder"
        local record pid_list
        record=$perf_folder/$(date +%H%M%S)-${contestant}.data
        pid_list=$(IFS=,; echo "${pids[*]},${SCREEN_PIDS[*]}")
        perf record -q -g -F 499 -p "$pid_list" -o "$record" -- sleep "$span" 2>/dev/null || sleep "$span"
        echo "      profile: $record"
    else
        sleep "$span"
    fi
    for i in "${!pids[@]}"; do after[i]=$(cpu_ticks "${pids[i]}"); done
    server1=$(cpu_ticks "${SCREEN_PIDS[@]}")
    # The program's private memory (Private_Clean + Private_Dirty) at the end,
    # and its resident set (shared libraries and shared memory included).
    MEMORY=$(awk '/^Private_(Clean|Dirty):/ { k += $2 } END { printf "%.1f", k / 1024 }' "/proc/${pids[0]}/smaps_rollup")
    RSS=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/${pids[0]}/status")
    stop_contestant
    stop_screen
    local program=0 server=$((server1 - server0)) breakdown=""
    for i in "${!pids[@]}"; do
        program=$((program + after[i] - before[i]))
        breakdown+="${breakdown:+, }${parts[i]:-pid ${pids[i]}} $(share $((after[i] - before[i])))%"
    done
    SHARE=$(share $((program + server)))
    printf "  %-62s program %5.1f%%  X server %5.1f%%  total %5.1f%% of a core, %s MiB private\n" \
        "$label" "$(share "$program")" "$(share "$server")" "$SHARE" "$MEMORY"
    [ ${#pids[@]} -gt 1 ] && echo "      program: $breakdown"
    return 0
}

# stats <values...>: min, median and max.
stats() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {printf "min %s  median %s  max %s", v[1], v[int((NR + 1) / 2)], v[NR]}'; }
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

# settle <pid> <start ns>: waits until the process has used no CPU for a
# second (it has done its ticks); sets SETTLED_CPU (its CPU in ns, from
# schedstat) and SETTLED_AT (when that CPU was last used, in ns).
settle() {
    local pid=$1 used now last=-1 changed=$2
    while :; do
        used=$(cut -d' ' -f1 "/proc/$pid/schedstat")
        now=$(date +%s%N)
        if [ "$used" != "$last" ]; then
            last=$used
            changed=$now
        elif [ $((now - changed)) -gt 1000000000 ]; then
            break
        fi
        sleep 0.005
    done
    SETTLED_CPU=$last SETTLED_AT=$changed
}

# ticks_ms <size> <options...>: milliseconds from quorbel's start until its
# last tick of --ticks 300 (the CPU time it has used, read in nanoseconds from
# /proc/PID/schedstat, stops growing once it only waits for events) in
# TICKS_MS, and the CPU microseconds a tick took, program and X server, in
# TICK_CPU_US (start-up included), which a busy machine disturbs less.
ticks_ms() {
    local size=$1
    shift
    start_xvfb "${size}x24"
    local start last changed server0
    server0=$(cut -d' ' -f1 "/proc/$XVFB_PID/schedstat")
    start=$(date +%s%N)
    DISPLAY=$XVFB_DISPLAY "$quorbel_x11" --root --ticks 300 "$@" &
    local pid=$!
    settle "$pid" "$start"
    last=$SETTLED_CPU changed=$SETTLED_AT
    TICK_CPU_US=$(((last + $(cut -d' ' -f1 "/proc/$XVFB_PID/schedstat") - server0) / 300000))
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    stop_xvfb
    TICKS_MS=$(((changed - start) / 1000000))
}

# profile <scene> <size> <options...>: perf of quorbel and its X server.
profile() {
    local scene=$1 size=$2
    shift 2
    start_xvfb "${size}x24"
    DISPLAY=$XVFB_DISPLAY "$quorbel_x11" --root "$@" &
    local pid=$!
    sleep "$warmup"
    perf record -q -g -o "perf-$scene.data" -p "$pid,$XVFB_PID" -- sleep 5 >/dev/null 2>&1 || echo "  (perf failed)"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    stop_xvfb
    echo "  profile: perf report -i perf-$scene.data --no-children"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

# verdict <ratio> <highest>: whether the ratio is within its target.
verdict() { awk -v r="$1" -v most="$2" 'BEGIN { print (r != "n/a" && r <= most) ? "met" : "NOT MET" }'; }

# stats <values...>: min, median and max.
stats() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f %.1f %.1f", v[1], m, v[NR] }'
}

# windows_rounds <size> <target> <Name=value...>: Quorbel.scr with the given
# settings (and QUORBEL_SCR_BEFORE with the same), then corner_squares.exe,
# in turn for PAIRS rounds; prints each one's min / median / max share and
# the ratio of its median to corner_squares' median against the target.
windows_rounds() {
    local size=$1 target=$2
    shift 2
    local corners=$build/../win32/tools/benchmarks/corner_squares.exe
    local programs=("$quorbel_scr") shares=() i
    [ -n "${QUORBEL_SCR_BEFORE:-}" ] && programs+=("$QUORBEL_SCR_BEFORE")
    programs+=("$corners")
    for _ in $(seq 1 "$pairs"); do
        for i in "${!programs[@]}"; do
            if [ "${programs[i]}" = "$corners" ]; then
                measure "$size" quorbel_scr "$corners"
            else
                measure "$size" quorbel_scr "${programs[i]}" "$@"
            fi
            shares[i]+="$SHARE "
        done
    done
    local last=$((${#programs[@]} - 1)) floor figures
    # shellcheck disable=SC2086
    floor=$(stats ${shares[last]} | awk '{print $2}')
    for i in "${!programs[@]}"; do
        # shellcheck disable=SC2086
        figures=$(stats ${shares[i]})
        # shellcheck disable=SC2086
        printf "  %-40s min %s  median %s  max %s %% of a core" "$(basename "${programs[i]}")" $figures
        if [ "$i" -ne "$last" ]; then
            local r
            r=$(ratio "$(echo "$figures" | awk '{print $2}')" "$floor")
            printf "  median / corner_squares: %s (at most %s: %s)" "$r" "$target" "$(verdict "$r" "$target")"
        fi
        echo
    done
}

# ---- scenes ------------------------------------------------------------------
if selected x11 || selected wine; then
    need_cloudlife
    echo "== 1920x1080, 28 ms per tick: small wriggling cells at Speed 19 against Cloud Life with 16-pixel cells"
    if selected wine; then
        echo "  (Windows program: $(realpath -m "$quorbel_scr"))"
        measure 1920x1080 quorbel_scr "$quorbel_scr" Speed=19 Size=Small Tovtov=On
        scr_share=$SHARE
        corners=$build/../win32/tools/benchmarks/corner_squares.exe
        if [ -f "$corners" ]; then
            measure 1920x1080 quorbel_scr "$corners"
            floor_share=$SHARE
            echo "  in turn with corner_squares, $pairs rounds:"
            windows_rounds 1920x1080 1.15 Speed=19 Size=Small Tovtov=On
        fi
    fi
    quorbel_run=("${scale[@]}" --speed 19 --cell-size small --wriggle on --seed 1)
    quorbel_shares=()
    cloudlife_shares=()
    for _ in $(seq 1 "$pairs"); do
        if selected x11; then
            measure 1920x1080 quorbel "${quorbel_run[@]}"
            quorbel_shares+=("$SHARE")
        fi
        measure 1920x1080 cloudlife --cycle-delay 28000 --cell-size 4
        cloudlife_shares+=("$SHARE")
    done
    cloudlife_share=$(median "${cloudlife_shares[@]}")
    echo "  Cloud Life: $(stats "${cloudlife_shares[@]}") % of a core"
    if selected x11; then
        quorbel_share=$(median "${quorbel_shares[@]}")
        echo "  quorbel:    $(stats "${quorbel_shares[@]}") % of a core"
        x11_ratio=$(ratio "$quorbel_share" "$cloudlife_share")
        echo "  quorbel / Cloud Life (medians): $x11_ratio (at most 0.5: $(verdict "$x11_ratio" 0.5))"
        if [ -n "${PROFILE:-}" ]; then profile x11 1920x1080 "${quorbel_run[@]}"; fi
    fi
    if selected wine; then
        scr_ratio=$(ratio "$scr_share" "$cloudlife_share")
        echo "  Quorbel.scr under Wine / Cloud Life: $scr_ratio (at most 1.5: $(verdict "$scr_ratio" 1.5))"
        if [ -n "${floor_share:-}" ]; then
            echo "  two squares under Wine / Cloud Life: $(ratio "$floor_share" "$cloudlife_share") (Wine's floor for a full-screen picture)"
        fi
    fi
fi

if selected worst; then
    echo "== 3840x2160, worst case: no Life rules, so every cell wriggles in every tick"
    worst_run=("${scale[@]}" --speed 19 --cell-size small --wriggle on --life off --generations 4294967295 --seed 1)
    worst_shares=()
    worst_ms=()
    worst_cpu=()
    for _ in $(seq 1 "$pairs"); do
        measure 3840x2160 quorbel "${worst_run[@]}"
        worst_shares+=("$SHARE")
        ticks_ms 3840x2160 "${worst_run[@]}"
        worst_ms+=("$TICKS_MS")
        worst_cpu+=("$TICK_CPU_US")
    done
    echo "  share:     $(stats "${worst_shares[@]}") % of a core (median at most 25: $(verdict "$(median "${worst_shares[@]}")" 25))"
    echo "  300 ticks: $(stats "${worst_ms[@]}") ms (median at most 1.15 x 8400 = 9660: $(verdict "$(median "${worst_ms[@]}")" 9660))"
    echo "  CPU a tick, program + X server: $(stats "${worst_cpu[@]}") us (25 % of a core at 28 ms: 7000)"
    if [ -n "${PROFILE:-}" ]; then profile worst 3840x2160 "${worst_run[@]}"; fi
fi

if selected worst-memory; then
    echo "== 3840x2160, worst case at scales 1, 2 and 4: share of a core and VmRSS"
    memory_programs=("$quorbel_x11")
    [ -n "${QUORBEL_BEFORE:-}" ] && memory_programs=("$QUORBEL_BEFORE" "$quorbel_x11")
    for memory_scale in 1 2 4; do
        memory_run=(--scale "$memory_scale" --speed 19 --cell-size small --wriggle on --life off
            --generations 4294967295 --seed 1)
        memory_shares=() memory_rss=()
        for _ in $(seq 1 "$pairs"); do
            for i in "${!memory_programs[@]}"; do
                quorbel_x11=${memory_programs[i]} measure 3840x2160 quorbel "${memory_run[@]}"
                memory_shares[i]+="$SHARE "
                memory_rss[i]+="$RSS "
            done
        done
        for i in "${!memory_programs[@]}"; do
            # shellcheck disable=SC2086
            printf "  scale %d  %-44s share min/median/max %s %%; VmRSS %s MiB\n" "$memory_scale" \
                "${memory_programs[i]}" "$(stats ${memory_shares[i]})" "$(stats ${memory_rss[i]})"
        done
        # shellcheck disable=SC2086
        rss_median=$(stats ${memory_rss[-1]} | awk '{print $2}')
        echo "  scale $memory_scale: VmRSS median $rss_median MiB (at most 12: $(verdict "$rss_median" 12))"
        if [ ${#memory_programs[@]} -gt 1 ]; then
            # shellcheck disable=SC2086
            memory_ratio=$(ratio "$(stats ${memory_shares[1]} | awk '{print $2}')" \
                "$(stats ${memory_shares[0]} | awk '{print $2}')")
            echo "  scale $memory_scale: share after / before (medians): $memory_ratio (at most 1.10: $(verdict "$memory_ratio" 1.10))"
        fi
    done
fi

if selected wine-worst; then
    echo "== 3840x2160, worst case under Wine: no Life rules, every cell wriggles in every tick, against corner_squares"
    echo "  (Windows program: $(realpath -m "$quorbel_scr"))"
    windows_rounds 3840x2160 1.5 Speed=19 Size=Small Tovtov=On LifeGame=Off Generations=4294967295
fi

if selected wine-scale; then
    echo "== 3840x2160, worst case under Wine at scales 1, 2 and 4 (96, 192 and 384 DPI), in turn"
    echo "  (Windows program: $(realpath -m "$quorbel_scr"))"
    worst_case=(Speed=19 Size=Small Tovtov=On LifeGame=Off Generations=4294967295)
    scale_programs=("$quorbel_scr")
    [ -n "${QUORBEL_SCR_BEFORE:-}" ] && scale_programs=("$QUORBEL_SCR_BEFORE" "$quorbel_scr")
    scale_factors=(1 2 4)
    declare -A scale_shares=() scale_memory=() scale_rss=()
    for _ in $(seq 1 "$pairs"); do
        for s in "${scale_factors[@]}"; do
            for p in "${!scale_programs[@]}"; do
                measure 3840x2160 quorbel_scr "${scale_programs[p]}" LogPixels=$((96 * s)) "${worst_case[@]}"
                scale_shares[$s,$p]+="$SHARE "
                scale_memory[$s,$p]+="$MEMORY "
                scale_rss[$s,$p]+="$RSS "
            done
        done
    done
    for s in "${scale_factors[@]}"; do
        for p in "${!scale_programs[@]}"; do
            # shellcheck disable=SC2086
            printf "  scale %d  %-44s share min/median/max %s %%; private %s MiB; VmRSS %s MiB\n" "$s" \
                "${scale_programs[p]}" "$(stats ${scale_shares[$s,$p]})" "$(stats ${scale_memory[$s,$p]})" \
                "$(stats ${scale_rss[$s,$p]})"
        done
    done
fi

if selected wine-two-monitors; then
    echo "== two monitors, 1920x1080 and 1280x1024, under Wine: small wriggling cells at Speed 19"
    echo "  (Windows program: $(realpath -m "$quorbel_scr"))"
    wineprefix=$wineprefix-two-monitors
    programs=("$quorbel_scr")
    [ -n "${QUORBEL_SCR_BEFORE:-}" ] && programs+=("$QUORBEL_SCR_BEFORE")
    two_shares=("" "") two_memory=("" "")
    for _ in $(seq 1 "$pairs"); do
        for i in "${!programs[@]}"; do
            measure two-heads quorbel_scr "${programs[i]}" UseXRandR=N Speed=19 Size=Small Tovtov=On
            two_shares[i]+="$SHARE "
            two_memory[i]+="$MEMORY "
        done
    done
    for i in "${!programs[@]}"; do
        # shellcheck disable=SC2086
        figures=$(stats ${two_shares[i]}) memory=$(stats ${two_memory[i]})
        # shellcheck disable=SC2086
        printf "  %-40s min %s  median %s  max %s %% of a core; private memory min %s  median %s  max %s MiB\n" \
            "$(realpath -m "${programs[i]}")" $figures $memory
    done
    if [ ${#programs[@]} -gt 1 ]; then
        # shellcheck disable=SC2086
        r=$(ratio "$(stats ${two_shares[0]} | awk '{print $2}')" "$(stats ${two_shares[1]} | awk '{print $2}')")
        echo "  this build / QUORBEL_SCR_BEFORE (medians): $r (at most 1.0: $(verdict "$r" 1.0))"
    fi
fi

# ---- quorbel-wayland under headless sway -----------------------------------
# measure_wayland <size> <options...>: as measure, with sway as the server.
measure_wayland() {
    local size=$1
    shift
    start_sway 1 "output HEADLESS-1 resolution $size"
    exec_as_user "$quorbel_wayland" "$@" &
    local pid=$! before server0 after server1
    sleep "$warmup"
    before=$(cpu_ticks "$pid")
    server0=$(cpu_ticks "$SWAY_PID")
    sleep "$span"
    after=$(cpu_ticks "$pid")
    server1=$(cpu_ticks "$SWAY_PID")
    MEMORY=$(awk '/^Private_(Clean|Dirty):/ { k += $2 } END { printf "%.1f", k / 1024 }' "/proc/$pid/smaps_rollup")
    RSS=$(awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    stop_sway
    SHARE=$(share $((after - before + server1 - server0)))
    printf "  %-62s program %5.1f%%  compositor %5.1f%%  total %5.1f%% of a core, %s MiB private, VmRSS %s MiB\n" \
        "quorbel-wayland $*" "$(share $((after - before)))" "$(share $((server1 - server0)))" "$SHARE" "$MEMORY" "$RSS"
}

# wayland_ticks_ms <size> <options...>: as ticks_ms, under sway.
wayland_ticks_ms() {
    local size=$1
    shift
    start_sway 1 "output HEADLESS-1 resolution $size"
    local start last changed
    start=$(date +%s%N)
    exec_as_user "$quorbel_wayland" --ticks 300 "$@" &
    local pid=$!
    settle "$pid" "$start"
    last=$SETTLED_CPU changed=$SETTLED_AT
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    stop_sway
    TICKS_MS=$(((changed - start) / 1000000))
}

if selected wayland; then
    for case in "1920x1080 --speed 19 --cell-size small --wriggle on --seed 1" \
        "3840x2160 --speed 19 --cell-size small --wriggle on --life off --generations 4294967295 --seed 1"; do
        read -ra run <<<"$case"
        echo "== ${run[0]}, quorbel-wayland (headless sway, pixman) and quorbel (Xvfb), in turn: ${run[*]:1}"
        wayland_shares=()
        x11_shares=()
        for _ in $(seq 1 "$pairs"); do
            measure_wayland "${run[0]}" "${scale[@]}" "${run[@]:1}"
            wayland_shares+=("$SHARE")
            measure "${run[0]}" quorbel "${scale[@]}" "${run[@]:1}"
            x11_shares+=("$SHARE")
        done
        echo "  quorbel-wayland: $(stats "${wayland_shares[@]}") % of a core (min median max)"
        echo "  quorbel:         $(stats "${x11_shares[@]}") % of a core (min median max)"
        echo "  wayland / x11 (medians): $(ratio "$(median "${wayland_shares[@]}")" "$(median "${x11_shares[@]}")")"
    done
    wayland_ms=()
    x11_ms=()
    worst_case=("${scale[@]}" --speed 19 --cell-size small --wriggle on --life off --generations 4294967295 --seed 1)
    for _ in $(seq 1 "$pairs"); do
        wayland_ticks_ms 3840x2160 "${worst_case[@]}"
        wayland_ms+=("$TICKS_MS")
        ticks_ms 3840x2160 "${worst_case[@]}"
        x11_ms+=("$TICKS_MS")
    done
    echo "  300 ticks at 3840x2160, quorbel-wayland: $(stats "${wayland_ms[@]}") ms (min median max; 300 x 28 ms = 8400)"
    echo "  300 ticks at 3840x2160, quorbel:         $(stats "${x11_ms[@]}") ms"
fi
