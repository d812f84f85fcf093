#!/bin/bash
# Nothing of an end-to-end test outlives it: a test that has started an X
# server, a wineserver and a process that ignores SIGTERM, then is killed as
# ctest kills a test that overruns its time (SIGKILL to it and the processes
# below it, which no trap sees), leaves no process and no temporary folder.
set -u
source "$(dirname "$0")/checks.sh"
isolate=$(dirname "$0")/isolate.sh
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT

cat >"$T/overrun.sh" <<'SCRIPT'
T=$(mktemp -d)
source "$1/xvfb.sh"
start_xvfb 320x240 || exit 1
export WINEPREFIX=$T/pfx WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
bash -c 'trap "" TERM; sleep 600' &
echo started >"$2"
sleep 600
SCRIPT
# In a process group of its own, all of which is killed below.
setsid bash "$isolate" overrun bash "$T/overrun.sh" "$(dirname "$0")" "$T/started" &
guard=$!
disown
mark=ondrake-test-overrun-$guard
eventually 20 '[ -s "$T/started" ]'
running=$(bash "$isolate" --list "$mark" | xargs -r ps -o comm= -p | sort | tr '\n' ' ')
for name in Xvfb wineserver sleep; do
    check "the test runs $name, marked ($running)" grep -q "$name" <<<"$running"
done
check "its temporary folder exists" [ -d "/tmp/$mark" ]

kill -KILL -- "-$guard"
check "ended, it leaves no process" eventually 10 '[ -z "$(bash "$isolate" --list "$mark")" ]'
check "nor its temporary folder" eventually 5 '[ ! -e "/tmp/$mark" ]'
echo "isolation: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
