#!/bin/bash
# Sets up, builds every preset, then runs every test: the unit tests beside
# the fuzzer's minute over the model reader (label fuzz), then the tests that
# start X servers and Windows programs, one at a time. A test that cannot
# run here fails and says what is missing (ONDRAKE_ALLOW_SKIPS=1 makes that
# a skip, for a knowingly partial run). The last lines are ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh host win32 win64 fuzz bench linux

source scripts/wine_build.sh "$PWD/build"
echo "wine: the Wine tests run the $WINE_ARCH_NOTE"
status=0
ctest --preset host -j2 -L '^(unit|fuzz)$' || status=1
ctest --preset host -LE '^(unit|fuzz)$' || status=1
exit "$status"
