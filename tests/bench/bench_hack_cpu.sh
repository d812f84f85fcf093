#!/bin/bash
# What the hack costs the machine: the CPU time it uses per second of wall
# time, as a share of one core, in a 640 x 480 window of its own on Xvfb
# (Mesa's software rasterizer) at the default delay, at -delay 0, and with
# its window unmapped. Each round measures the three one after another;
# beside it, how busy the machine was: its load average, and the share of
# all cores left idle over the round (the hack's own use included).
#   bench_hack_cpu.sh [HACK [SECONDS [ROUNDS]]]   (build/linux/bin/ondrake, 10, 3)
set -euo pipefail
hack=${1:-$(dirname "$0")/../../build/linux/bin/ondrake}
seconds=${2:-10} rounds=${3:-3}
source "$(dirname "$0")/../linux/x_env.sh"
x_start_display 640x480

# The machine's idle and total ticks so far, over all cores.
machine() { awk '/^cpu / { print $5 + $6, $2 + $3 + $4 + $5 + $6 + $7 + $8 + $9 }' /proc/stat; }

# cpu unmapped|mapped ARGS...: the hack's CPU use over SECONDS, after 2 s
# to settle, in percent of one core.
cpu() {
    local unmap=$1 own="" pid before start used wall
    shift
    "$hack" "$@" &
    pid=$!
    own_window 10
    [ "$unmap" = unmapped ] && xdotool windowunmap --sync "$own"
    sleep 2
    before=$(cpu_ticks "$pid") start=$(date +%s%N)
    sleep "$seconds"
    used=$(($(cpu_ticks "$pid") - before)) wall=$(($(date +%s%N) - start))
    kill "$pid"
    wait "$pid" || true
    awk -v u="$used" -v t="$(getconf CLK_TCK)" -v w="$wall" 'BEGIN { printf "%.1f", 100 * u / t / (w / 1e9) }'
}

echo "ondrake in its own 640 x 480 window on Xvfb: CPU time per wall second, % of one core ($seconds s each)"
printf "%-6s %14s %10s %10s %14s %12s\n" round "default delay" "-delay 0" unmapped "load average" "idle cores"
for round in $(seq "$rounds"); do
    read -r idle_before total_before < <(machine)
    shown=$(cpu mapped)
    unpaced=$(cpu mapped -delay 0)
    unseen=$(cpu unmapped)
    read -r idle_after total_after < <(machine)
    idle=$(awk -v i=$((idle_after - idle_before)) -v t=$((total_after - total_before)) 'BEGIN { printf "%.0f %%", 100 * i / t }')
    printf "%-6s %14s %10s %10s %14s %12s\n" "$round" "$shown" "$unpaced" "$unseen" "$(cut -d' ' -f1 /proc/loadavg)" "$idle"
done
