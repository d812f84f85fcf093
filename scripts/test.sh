#!/bin/bash
# Sets up, builds every preset (win64 only where the Wine tests need it),
# then runs every test: the unit tests, the fuzzer's minute over the model
# reader and the release checks two at a time, then the tests that start X
# servers and programs one at a time.
#   bash scripts/test.sh [--allow-skips]
# A test that cannot run here fails and says what is missing, and any test
# that skips fails the run. --allow-skips, for a knowingly partial run, makes
# the missing things skips and accepts them (only the switch does: an
# ONDRAKE_ALLOW_SKIPS inherited from the environment is dropped). The last
# lines say how many tests were skipped and why, and whether the run passed.
set -euo pipefail
cd "$(dirname "$0")/.."
allow_skips=false
case ${1:-} in
    --allow-skips) allow_skips=true ;;
    "") ;;
    *) echo "usage: bash scripts/test.sh [--allow-skips]" >&2; exit 2 ;;
esac
unset ONDRAKE_ALLOW_SKIPS
$allow_skips && export ONDRAKE_ALLOW_SKIPS=1

start=$SECONDS
bash scripts/setup.sh
echo "test: setup took $((SECONDS - start)) s"
bash scripts/build.sh host win32 fuzz bench linux
# The x86-64 Windows build serves the Wine tests where 32-bit Wine cannot.
source scripts/wine_build.sh "$PWD/build" || :
[ "$WINEARCH" = win64 ] && bash scripts/build.sh win64

if source scripts/wine_build.sh "$PWD/build"; then
    echo "wine: the Wine tests run the $WINE_ARCH_NOTE"
else
    echo "wine: missing $WINE_BUILD_MISSING"
fi

# run_tests WHAT CTEST-ARGUMENTS...: runs those tests; adds the skipped ones
# to skips, each with the reason its output gives.
skips=()
run_tests() {
    local out=build/host/Testing/$1.out status=0 name reason started=$SECONDS
    mkdir -p build/host/Testing
    ctest --preset host "${@:2}" | tee "$out" || status=1
    while read -r name; do
        reason=$(awk -v name="$name" '
            $0 ~ "^[0-9]+/[0-9]+ Testing: " && substr($0, index($0, ": ") + 2) == name { mine = 1; next }
            mine && /^<end of output>$/ { exit }
            mine && /^skipped: / { print substr($0, 10); exit }
            mine && after { print; exit }
            mine && /: Skipped$/ { after = 1 }
        ' build/host/Testing/Temporary/LastTest.log)
        skips+=("$name: ${reason:-(its output gives no reason)}")
    done < <(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (\(Skipped\|Disabled\))$/\1/p' "$out")
    echo "test: the $1 tests took $((SECONDS - started)) s"
    return "$status"
}

status=0
run_tests two-at-a-time -j2 -L '^(unit|fuzz|release)$' || status=1
run_tests one-at-a-time -LE '^(unit|fuzz|release)$' || status=1

echo "test: ${#skips[@]} skipped${skips:+:}"
for skip in "${skips[@]}"; do echo "  $skip"; done
if ((${#skips[@]})) && ! $allow_skips; then
    echo "test: FAILED: tests were skipped (bash scripts/test.sh --allow-skips accepts that)"
    exit 1
fi
if ((status)); then echo "test: FAILED after $SECONDS s"; else echo "test: passed in $SECONDS s"; fi
exit "$status"
