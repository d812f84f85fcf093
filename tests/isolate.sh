#!/bin/bash
# Runs one end-to-end test so that nothing it starts outlives it:
#   isolate.sh NAME COMMAND [ARGS...]
# The test and everything it starts (X servers, wineservers, Wine programs,
# hacks; wineserver leaves the process group, so groups are not enough)
# carry ONDRAKE_TEST_MARK in their environment, and its temporary files lie
# under TMPDIR=/tmp/MARK. When the test ends, whatever still carries the mark
# is ended and the folder removed. ctest ends a test that overruns its time
# with SIGKILL to the test and the processes below it, which no trap sees;
# then a sentinel does the same: a process outside that tree, which learns
# of this script's end when the pipe that only this script holds closes.
#   isolate.sh --sweep MARK    ends the marked processes, removes the folder
#   isolate.sh --list MARK     prints the marked processes' ids
set -u

# marked MARK: the ids of the processes whose environment holds the mark.
# Reads /proc in the shell itself, so the sweep starts no marked process.
marked() {
    local dir entry
    local -a environment
    for dir in /proc/[0-9]*; do
        mapfile -d "" -t environment 2>/dev/null <"$dir/environ" || continue
        for entry in "${environment[@]}"; do
            [ "$entry" = "ONDRAKE_TEST_MARK=$1" ] && { echo "${dir#/proc/}"; break; }
        done
    done
}

# sweep MARK: asks the marked processes to end (a test's own clean-up runs
# on SIGTERM), then kills what is left, also what they start meanwhile.
sweep() {
    local pid round
    for pid in $(marked "$1"); do kill -TERM "$pid" 2>/dev/null; done
    for round in $(seq 40); do
        [ -z "$(marked "$1")" ] && break
        ((round > 20)) && for pid in $(marked "$1"); do kill -KILL "$pid" 2>/dev/null; done
        sleep 0.1
    done
    rm -rf "/tmp/$1"
}

case $1 in
    --list) marked "$2"; exit 0 ;;
    --sweep) sweep "$2"; exit 0 ;;
    --sentinel)
        read -r _
        sweep "$2"
        exit 0 ;;
esac

name=$1
shift
mark=ondrake-test-$name-$$
mkdir -p "/tmp/$mark"
mkfifo "/tmp/$mark/.alive"
(setsid bash "$0" --sentinel "$mark" <"/tmp/$mark/.alive" >/dev/null 2>&1 &)
exec 3>"/tmp/$mark/.alive"
ONDRAKE_TEST_MARK=$mark TMPDIR=/tmp/$mark "$@" 3>&-
status=$?
sweep "$mark"
exit "$status"
