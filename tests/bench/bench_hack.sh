#!/bin/bash
# The hack's drawing speed against the Windows renderer's drawing path, both
# at 1920 x 1080 on Mesa's software rasterizer: bench_draw on OSMesa, and
# bench_hack with GLX on an Xvfb screen of that size.
#   bench_hack.sh [BENCH_BIN_DIR]   (default build/bench/bin)
set -euo pipefail
bin=${1:-$(dirname "$0")/../../build/bench/bin}
T=$(mktemp -d /tmp/ondrake-bench.XXXXXX)
source "$(dirname "$0")/../xvfb.sh"
trap 'kill ${XVFB_PID:-} 2>/dev/null; rm -rf "$T"' EXIT
start_xvfb 1920x1080 -noreset +extension GLX
export LIBGL_ALWAYS_SOFTWARE=1
"$bin/bench_draw" --size 1920x1080
"$bin/bench_hack"
