#!/bin/bash
# Configures and builds the given presets (default: host and win32).
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in "${@:-host win32}"; do
    for p in $preset; do
        [ -f "build/$p/CMakeCache.txt" ] || cmake --preset "$p" >/dev/null
        cmake --build --preset "$p"
    done
done
