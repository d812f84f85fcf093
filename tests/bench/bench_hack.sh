#!/bin/bash
# The hack's drawing speed against the Windows renderer's drawing path, both
# at 1920 x 1080 on Mesa's software rasterizer: bench_draw on OSMesa, and
# bench_hack with GLX on an Xvfb screen of that size.
#   bench_hack.sh [BENCH_BIN_DIR]   (default build/bench/bin)
set -euo pipefail
bin=${1:-$(dirname "$0")/../../build/bench/bin}
source "$(dirname "$0")/../linux/x_env.sh"
x_start_display 1920x1080
"$bin/bench_draw" --size 1920x1080
"$bin/bench_hack"
