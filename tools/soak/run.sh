#!/bin/bash
# run.sh MINUTES [windows|linux|auto]
#
# Soak: runs the full-screen saver for MINUTES with settings that turn worlds
# over every few seconds (every choice Random, Generations 5, fixed Speed 19),
# samples it every few seconds, and passes when nothing grows after a
# warm-up. Writes <build>/soak/<mode>.tsv (the samples) and <mode>.png (the
# curves).
#
#   windows  Quorbel.scr under Wine, on a private prefix and Xvfb
#            (tools/ci/wine_session.sh). Samples: the process's private
#            memory (Private_Clean + Private_Dirty from /proc/PID/smaps_rollup
#            of the Wine process), its handle count (its entries in the
#            system's handle list), and its GDI objects and window DCs, counted by a ledger that
#            tools/soak/soak_probe loads into the saver (Wine's
#            GetGuiResources reports none).
#   linux    the X11 saver (build/native/x11/quorbel, when it exists) on the
#            root of a private Xvfb. Samples: private and resident memory, and
#            the X resources the server holds for it (xrestop: windows,
#            pixmaps, GCs, other).
#   auto     windows, and linux beside it when that binary exists (default).
#
# Pass rule, per curve: drop the first fifth of the run (warm-up); split the
# rest in two halves; the largest value of the second half may exceed the
# largest of the first half by at most a slack (memory: 256 KiB or 1 %,
# whichever is more; counts: 2; X pixmap memory: 64 KiB; other X bytes: 4096).
# Memory is judged only in runs of 10 minutes or more: it steps between a
# few levels as worlds change, and a short run may meet the highest late.
#
#   QUORBEL_SOAK_INTERVAL  seconds between samples (default 5)
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUORBEL_BUILD_DIR:-$root/build}
out=$build/soak
interval=${QUORBEL_SOAK_INTERVAL:-5}
linux_saver=${QUORBEL_LINUX_SAVER:-$build/native/x11/quorbel}

# ---- sampling --------------------------------------------------------------
# sample_every <pid> <seconds> <samples> <columns>: every $interval seconds
# appends the time, the process's private and resident memory and what the
# function <columns> prints for it, until <seconds> have passed. Fails if the
# process ends first.
sample_every() {
    local saver=$1 seconds=$2 samples=$3 columns=$4 start now memory extra
    start=$(date +%s)
    while :; do
        sleep "$interval"
        now=$(($(date +%s) - start))
        if ! kill -0 "$saver" 2>/dev/null; then
            echo "the saver ended by itself after ${now}s" >&2
            return 1
        fi
        memory=$(awk '/^Private_(Clean|Dirty):/ { p += $2 } /^Rss:/ { r = $2 } END { print p "\t" r }' \
            "/proc/$saver/smaps_rollup")
        extra=$("$columns" "$saver")
        [ -n "$extra" ] && echo -e "$now\t$memory\t$extra" >>"$samples"
        [ "$now" -ge "$seconds" ] && return 0
    done
}

# The probe's latest line: handles, GDI objects, window DCs, worlds.
probe_columns() {
    local last
    last=$(tail -n1 "$probe_out")
    [ -n "$last" ] || return 0
    set -- $last
    echo -e "$2\t$3\t$4\t$5"
}

# xrestop's batch mode: one block per client. On this private server the
# clients are the server itself (resource base 0), xrestop and the saver,
# which sets no name or PID on the root window.
x_columns() {
    xrestop -b -m 1 2>/dev/null | awk '
        function flush() {
            if (name != "" && name != "xrestop" && base != "0" && !shown) {
                print w "\t" p "\t" g "\t" o "\t" b; shown = 1
            }
            name = ""
        }
        /^[0-9]+ - / { flush(); name = $3; base = ""; w = p = g = o = b = 0; next }
        /res_base/ { base = $3 }
        $1 == "windows" { w = $3 }
        $1 == "GCs" { g = $3 }
        $1 == "pixmaps" { p = $3 }
        $1 == "pixmap" && $2 == "bytes" { b = int($4 / 1024) }
        $1 == "other" && $2 == "bytes" { o = $4; sub(/~/, "", o) }
        END { flush() }'
}

# ---- inside a display session: one run, samples to $3 -------------------
if [ "${1:-}" = "--windows-inside" ]; then
    seconds=$2 samples=$3
    programs=$out/programs
    regfile=$(mktemp --suffix=.reg)
    cat >"$regfile" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Pelmar\Quorbel\Settings]
"FixedSpeed"="Fixed"
"Speed"=dword:00000013
"Generations"=dword:00000005
"Tovtov"="Random"
"Shrink"="Random"
"LifeGame"="Random"
"ConnectTBLR"="Random"
"Size"="Random"
"Colors"="Random"
REG
    wine regedit /S "$(winepath -w "$regfile")" >/dev/null 2>&1
    rm -f "$regfile"
    wine "$programs/Quorbel.scr" /s &
    saver=$!
    probe_out=$(mktemp)
    wine "$programs/soak_probe.exe" "$(winepath -w "$programs/soak_ledger.dll")" \
        $((interval * 1000)) >"$probe_out" 2>"$probe_out.err" &
    probe=$!
    echo -e "seconds\tprivate_kib\trss_kib\thandles\tgdi_objects\twindow_dcs\tworlds" >"$samples"
    status=0
    sample_every "$saver" "$seconds" "$samples" probe_columns || status=1
    if [ ! -s "$probe_out" ]; then
        echo "the probe gave no samples:" >&2
        cat "$probe_out.err" >&2
        status=1
    fi
    # Any movement of more than 4 pixels ends the saver.
    xdotool mousemove_relative -- 40 30 >/dev/null 2>&1 || true
    for _ in $(seq 1 100); do
        kill -0 "$saver" 2>/dev/null || break
        sleep 0.1
    done
    kill "$saver" 2>/dev/null && { echo "the saver did not end on a mouse movement" >&2; status=1; }
    wait "$saver" 2>/dev/null || true
    wait "$probe" 2>/dev/null || true
    rm -f "$probe_out" "$probe_out.err"
    exit $status
fi

if [ "${1:-}" = "--linux-inside" ]; then
    seconds=$2 samples=$3
    "$out/programs/quorbel" --root --speed 19 --generations 5 --species random --cell-size random \
        --wriggle random --shrink random --life random --wrap random &
    saver=$!
    echo -e "seconds\tprivate_kib\trss_kib\tx_windows\tx_pixmaps\tx_gcs\tx_other_bytes\tpixmap_kib" >"$samples"
    status=0
    sample_every "$saver" "$seconds" "$samples" x_columns || status=1
    kill -TERM "$saver" 2>/dev/null || true
    wait "$saver" 2>/dev/null || true
    exit $status
fi

# ---- the judge and the plot ---------------------------------------------
judge() {  # judge <samples.tsv>: prints one line per curve, fails on growth
    awk -F'\t' '
        NR == 1 { for (i = 2; i <= NF; ++i) name[i] = $i; columns = NF; next }
        { ++n; last = $1; for (i = 2; i <= columns; ++i) value[n, i] = $i }
        END {
            if (n < 6) { print "too few samples: " n; exit 1 }
            warm = int(n / 5); half = warm + int((n - warm) / 2)
            failed = 0
            for (i = 2; i <= columns; ++i) {
                first = second = -1e18
                for (k = warm + 1; k <= half; ++k) if (value[k, i] > first) first = value[k, i]
                for (k = half + 1; k <= n; ++k) if (value[k, i] > second) second = value[k, i]
                slack = 2
                if (name[i] ~ /kib$/) { slack = first / 100; if (slack < 256) slack = 256 }
                if (name[i] == "pixmap_kib") slack = 64
                if (name[i] ~ /bytes$/) slack = 4096
                if (name[i] == "worlds") {
                    printf "  %-12s %d over the run\n", name[i], value[n, i]
                    continue
                }
                verdict = second <= first + slack ? "steady" : "GROWS"
                # Memory steps between levels as worlds change (about 4 MB
                # apart under Wine); a short run may meet the higher late.
                if (name[i] ~ /kib$/ && last < 600 && verdict == "GROWS") verdict = "higher (not judged: under 10 minutes)"
                if (verdict == "GROWS") failed = 1
                printf "  %-12s first half max %d, second half max %d (slack %d): %s\n", name[i], first, second, slack, verdict
            }
            printf "  %d samples, warm-up %d\n", n, warm
            exit failed
        }' "$1"
}

plot() {  # plot <samples.tsv> <png> <title>
    local columns warm half
    columns=$(head -n1 "$1" | awk -F'\t' '{ print NF }')
    # The judge's warm-up end and half-way point, in minutes.
    read -r warm half < <(awk -F'\t' 'NR > 1 { t[++n] = $1 } END {
        w = int(n / 5); h = w + int((n - w) / 2); if (w < 1) w = 1
        printf "%f %f\n", t[w] / 60, t[h] / 60 }' "$1")
    gnuplot <<PLOT
set terminal pngcairo size 900,$(( (columns - 1) / 2 * 220 + 60 )) font ",9" noenhanced
set output "$2"
set datafile separator "\t"
set key autotitle columnhead top left
set multiplot layout $(( columns / 2 )),2 title "$3 (dashed: end of warm-up, half-way)"
set xlabel "minutes"
set xrange [0:*]
set arrow 1 from $warm, graph 0 to $warm, graph 1 nohead dashtype 2 lc rgb "#888888"
set arrow 2 from $half, graph 0 to $half, graph 1 nohead dashtype 3 lc rgb "#888888"
do for [i=2:$columns] {
    set autoscale y
    stats "$1" using (column(i)) nooutput
    set yrange [0:(STATS_max > 0 ? STATS_max * 1.15 : 1)]
    plot "$1" using (\$1/60):(column(i)) with lines lw 1.5 lc rgb "#1f5fbf"
}
unset multiplot
PLOT
}

# ---- the run -------------------------------------------------------------
minutes=${1:?usage: run.sh MINUTES [windows|linux|auto]}
mode=${2:-auto}
seconds=$(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 }')
"$root/tools/ci/install_deps.sh"
mkdir -p "$out"

run_windows() {
    local jobs
    jobs=$(nproc)
    cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build/native" -j "$jobs" --target quorbel_sheet >/dev/null
    cmake -S "$root" -B "$build/win32" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
        -DQUORBEL_NATIVE_BUILD_DIR="$build/native" >/dev/null
    cmake --build "$build/win32" -j "$jobs" --target quorbel_scr_build soak_probe soak_ledger >/dev/null
    # Copies of their own, so that a build during a long soak changes nothing.
    mkdir -p "$out/programs"
    cp "$build/win32/host/Quorbel.scr" "$build/win32/tools/soak/soak_probe.exe" \
        "$build/win32/tools/soak/soak_ledger.dll" "$out/programs/"
    echo "== soak: Quorbel.scr under Wine for ${seconds}s, a sample every ${interval}s"
    local status=0
    WINE_SCREEN=800x600x24 "$root/tools/ci/wine_session.sh" "$out/wineprefix" \
        env QUORBEL_BUILD_DIR="$build" QUORBEL_SOAK_INTERVAL="$interval" \
        "$0" --windows-inside "$seconds" "$out/windows.tsv" || status=1
    plot "$out/windows.tsv" "$out/windows.png" "Quorbel.scr under Wine, ${minutes} min" || status=1
    judge "$out/windows.tsv" || status=1
    return $status
}

run_linux() {
    echo "== soak: the X11 saver for ${seconds}s, a sample every ${interval}s"
    local status=0 display_file xvfb
    mkdir -p "$out/programs"
    cp "$linux_saver" "$out/programs/quorbel"
    # A private X server of its own, as for Wine.
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 1 200); do
        [ -s "$display_file" ] && break
        sleep 0.05
    done
    DISPLAY=":$(head -n1 "$display_file")" QUORBEL_BUILD_DIR="$build" QUORBEL_SOAK_INTERVAL="$interval" \
        QUORBEL_LINUX_SAVER="$linux_saver" "$0" --linux-inside "$seconds" "$out/linux.tsv" || status=1
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null || true
    rm -f "$display_file"
    plot "$out/linux.tsv" "$out/linux.png" "X11 saver, ${minutes} min" || status=1
    judge "$out/linux.tsv" || status=1
    return $status
}

status=0
case $mode in
    windows) run_windows || status=1 ;;
    linux)
        [ -x "$linux_saver" ] || { echo "no X11 saver at $linux_saver" >&2; exit 1; }
        run_linux || status=1 ;;
    auto)
        if [ -x "$linux_saver" ]; then
            run_linux >"$out/linux.log" 2>&1 &
            linux_job=$!
        fi
        run_windows || status=1
        if [ -n "${linux_job:-}" ]; then
            wait "$linux_job" || status=1
            cat "$out/linux.log"
        fi ;;
    *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
[ $status -eq 0 ] && echo "soak passed: nothing grew (plots in $out)" || echo "soak FAILED (samples and plots in $out)"
exit $status
