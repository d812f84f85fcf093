#!/bin/bash
# The hack's drawing on Mesa's software rasterizer, on an Xvfb screen of
# SIZE: bench_draw (the Windows renderer's drawing paths, on OSMesa) and
# bench_hack (the hack's frame with GLX beside the least a frame of its
# picture costs there).
#   bench_hack.sh [BENCH_BIN_DIR [SIZE]]   (build/bench/bin, 640x480)
set -euo pipefail
bin=${1:-$(dirname "$0")/../../build/bench/bin}
size=${2:-640x480}
source "$(dirname "$0")/../linux/x_env.sh"
x_start_display "$size"
"$bin/bench_draw" --size "$size"
"$bin/bench_hack"
