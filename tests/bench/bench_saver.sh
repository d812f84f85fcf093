#!/bin/bash
# The full-screen run's timing under Wine on Xvfb, over ten runs of
# Ondrake.scr /s: from the start to the renderer's first frame on the screen
# (screenshots every few tens of milliseconds), and from the renderer's
# window going (Esc) to the front end's end (the front end polls every
# 50 ms). Prints median and worst.
#   bench_saver.sh [BUILD_ROOT]   (default build)
set -u
source "$(dirname "$0")/../wine/wine_env.sh" "$(realpath "${1:-$(dirname "$0")/../../build}")" bench_saver
wine_start 1024x768 "$T/pfx"
wineserver -p </dev/null >/dev/null 2>&1
install_saver "$WINEPREFIX/drive_c/Ondrake"
lit() { [ "$(convert "$1" -crop 400x400+312+184 +repage -format '%[fx:maxima]' info:)" != 0 ]; }

first_frames=() follows=()
for run in $(seq 10); do
    start=$(now_ms)
    start_scr /s
    until shot "$T/frame.png" && lit "$T/frame.png"; do
        (($(now_ms) - start > 20000)) && break
    done
    first_frames+=($(($(now_ms) - start)))
    eventually 15 'has_keys Sollvane_VC'
    watch follow follow Sollvane_VC Sollvane_Main 10000
    xdotool key Escape
    watched follow 15
    follows+=("$seen")
    finished scr 5
done
stats() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { printf "median %d ms, worst %d ms", (v[5] + v[6]) / 2, v[NR] }'; }
echo "start to the renderer's first frame: $(stats "${first_frames[@]}") (${first_frames[*]})"
echo "renderer's window gone to the front end's end: $(stats "${follows[@]}") (${follows[*]})"
