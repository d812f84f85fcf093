#!/bin/bash
# Configures (once) and builds the given presets; host and win32 by default.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
((${#presets[@]})) || presets=(host win32)
for preset in "${presets[@]}"; do
    [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
