#!/bin/bash
# The hack's drawing speed against the Windows renderer's drawing path, both
# at 1920 x 1080 on Mesa's software rasterizer: bench_draw on OSMesa, and
# bench_hack with GLX on an Xvfb screen of that size.
#   bench_hack.sh [BENCH_BIN_DIR]   (default build/bench/bin)
set -euo pipefail
bin=${1:-$(dirname "$0")/../../build/bench/bin}
T=$(mktemp -d /tmp/ondrake-bench.XXXXXX)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset +extension GLX 3>"$T/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$T"' EXIT
for _ in $(seq 100); do
    [ -s "$T/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(head -1 "$T/display") LIBGL_ALWAYS_SOFTWARE=1
"$bin/bench_draw" --size 1920x1080
"$bin/bench_hack"
