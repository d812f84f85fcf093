#!/bin/bash
# Configures and builds the given presets; host and win32 by default. The
# preset is applied on every run, so a changed preset reaches an existing
# build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
((${#presets[@]})) || presets=(host win32)
for preset in "${presets[@]}"; do
    start=$SECONDS
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "build: $preset took $((SECONDS - start)) s"
done
