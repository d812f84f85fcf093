#!/bin/bash
# What the hack costs the machine, seen from outside, in its own 640 x 480
# window on Xvfb (Mesa's software rasterizer): the CPU time it uses per
# second of wall time as a share of one core, its frames a second (its
# buffer swaps, counted by frame_counter.so), and its CPU time and page
# faults per frame; at the default delay, at -delay 33333, at -delay 0 and
# with its window unmapped. Other GL programs named after the rounds (each
# a command line, split at blanks, drawing on the 640 x 480 screen: the
# hack of another build, or "/usr/libexec/xscreensaver/glknots -root") are
# measured the same way in every round, one after another with the hack's,
# so that all of them meet the same load; each row says the load average
# of its time. Then the hack's goals over the rounds: its frames a second at
# the default delay (60), and its CPU time at -delay 33333 as a share of
# that at -delay 0 (at most a half).
#   bench_hack_cpu.sh [HACK [SECONDS [ROUNDS [OTHER...]]]]
#   (build/linux/bin/ondrake, 10, 3; frame_counter.so from build/bench/bin)
set -euo pipefail
here=$(dirname "$0")
hack=${1:-$here/../../build/linux/bin/ondrake}
seconds=${2:-10} rounds=${3:-3}
others=("${@:4}")
counter=$(realpath -m "${ONDRAKE_FRAME_COUNTER:-$here/../../build/bench/bin/frame_counter.so}")
source "$here/../linux/x_env.sh"
[ -x "$hack" ] || missing "$hack (cmake --build --preset linux)"
[ -f "$counter" ] || missing "$counter (cmake --build --preset bench)"
x_start_display 640x480

# measure LABEL unmapped|mapped COMMAND...: runs it, lets it settle for 2 s
# (unmapping its own window first if asked), then adds to $T/rows what it
# used over SECONDS: LABEL, % of a core, frames a second, CPU ms and page
# faults per frame, the load average.
measure() {
    local label=$1 unmap=$2 own="" pid frames=$T/frames stat0 stat1 count0 count1 start wall
    shift 2
    rm -f "$frames"
    ONDRAKE_FRAME_COUNT=$frames LD_PRELOAD=$counter "$@" >/dev/null 2>&1 &
    pid=$!
    if [ "$unmap" = unmapped ]; then
        own_window 10
        xdotool windowunmap --sync "$own"
    fi
    sleep 2
    count() { [ -s "$frames" ] && od -An -tu8 "$frames" | tr -d ' ' || echo 0; }
    stat0=$(awk '{ print $10, $14 + $15 }' "/proc/$pid/stat") count0=$(count) start=$(date +%s%N)
    sleep "$seconds"
    stat1=$(awk '{ print $10, $14 + $15 }' "/proc/$pid/stat") count1=$(count) wall=$(($(date +%s%N) - start))
    kill "$pid"
    wait "$pid" || true
    awk -v label="$label" -v a="$stat0" -v b="$stat1" -v frames=$((count1 - count0)) -v wall="$wall" \
        -v tick="$(getconf CLK_TCK)" -v load="$(cut -d' ' -f1 /proc/loadavg)" 'BEGIN {
        split(a, s0); split(b, s1); cpu = (s1[2] - s0[2]) / tick; faults = s1[1] - s0[1]; wall /= 1e9
        printf "%s|%.1f|%.1f|%s|%s|%s\n", label, 100 * cpu / wall, frames / wall,
            frames ? sprintf("%.2f", 1000 * cpu / frames) : "-", frames ? sprintf("%.1f", faults / frames) : "-", load
    }' >>"$T/rows"
}

show() { awk -F'|' -v round="$1" '{ printf "%-5s %-44s %8s %9s %9s %12s %6s\n", round, $1, $2, $3, $4, $5, $6 }'; }
echo "in a 640 x 480 window on Xvfb, Mesa's software GL, $seconds s each, from outside"
printf "%-5s %-44s %8s %9s %9s %12s %6s\n" round program "% core" frames/s "CPU ms/f" "faults/frame" load
for round in $(seq "$rounds"); do
    : >"$T/rows"
    measure "ondrake" mapped "$hack"
    measure "ondrake -delay 33333" mapped "$hack" -delay 33333
    measure "ondrake -delay 0" mapped "$hack" -delay 0
    measure "ondrake, unmapped" unmapped "$hack"
    for other in "${others[@]}"; do
        read -ra command <<<"$other"
        measure "$other" mapped "${command[@]}"
    done
    show "$round" <"$T/rows"
    cat "$T/rows" >>"$T/all"
done

awk -F'|' '
    $1 == "ondrake" { fps = fps (fps ? ", " : "") $3; round++ }
    $1 == "ondrake -delay 33333" { slow[round] = $2 }
    $1 == "ondrake -delay 0" { share = share (share ? ", " : "") sprintf("%.0f %%", 100 * slow[round] / $2) }
    END {
        print "ondrake at the default delay: " fps " frames/s (goal 60)"
        print "ondrake at -delay 33333 uses " share " of the CPU it uses at -delay 0 (goal at most 50 %)"
    }' "$T/all"
