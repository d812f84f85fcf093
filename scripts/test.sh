#!/bin/bash
# Sets up, builds every preset, fuzzes the model reader for a bounded time,
# then runs every test; the last lines are ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh host win32 win64 fuzz bench linux

# The fuzzer: our seed corpus plus what earlier runs here found. Reader
# messages are silenced (fd 2 closed); a crash is shown again in full below.
fuzz_seconds=${ONDRAKE_FUZZ_SECONDS:-60}
mkdir -p build/fuzz/seeds build/fuzz/corpus build/fuzz/crashes
build/fuzz/bin/make_seeds build/fuzz/seeds
echo "fuzz: reading hostile model files for ${fuzz_seconds} s"
if ! build/fuzz/bin/fuzz_reader -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
    -close_fd_mask=2 -artifact_prefix=build/fuzz/crashes/ -print_final_stats=1 \
    build/fuzz/corpus build/fuzz/seeds 2>&1 | grep -E '^(stat::number_of_executed_units|Done|==|SUMMARY)'; then
    :
fi
if compgen -G "build/fuzz/crashes/*" >/dev/null; then
    for crash in build/fuzz/crashes/*; do
        echo "fuzz: $crash reproduces a fault; keep it in tests/fuzz/regressions as hex:"
        od -An -tx1 -v "$crash"
        build/fuzz/bin/fuzz_reader "$crash" || true
    done
    exit 1
fi

source scripts/wine_build.sh "$PWD/build"
echo "wine: the Wine tests run the $WINE_ARCH_NOTE"
ctest --preset host -j2
