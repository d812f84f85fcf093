#!/bin/bash
# Sets up, builds everything, and shows what the saver will read from the
# shipped model.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh host win32 >/dev/null
echo "Windows deliverables in build/win32/dist:"
ls -l build/win32/dist
echo
echo "ondrake-model info build/win32/dist/Ondrake.3ds"
build/host/bin/ondrake-model info build/win32/dist/Ondrake.3ds
