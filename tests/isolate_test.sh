#!/bin/bash
# Nothing of a test outlives it, and what its sanitized programs report
# reaches its output. A test that has started an X server, a wineserver, a
# process that ignores SIGTERM and one that cleared its environment and left
# its session, then is killed as ctest kills a test that overruns its time
# (SIGKILL to it and the processes below it, which no trap sees), leaves no
# process, no temporary folder and no X socket; a test that ends by
# itself takes what it left running with it.
#   isolate_test.sh WORK_FOLDER    (outside /tmp, which each test has its own of)
set -u
source "$(dirname "$0")/checks.sh"
isolate=$(dirname "$0")/isolate.sh
unshare --pid --fork --mount-proc --kill-child true 2>/dev/null || missing "PID namespaces (unshare --pid, as root)"
mkdir -p "$1"
T=$(mktemp -d -p "$1")
trap 'rm -rf "$T"' EXIT

# in_namespace NS: the processes of that PID namespace.
in_namespace() {
    local dir
    for dir in /proc/[0-9]*; do
        [ "$(readlink "$dir/ns/pid" 2>/dev/null)" = "$1" ] && echo "${dir#/proc/}"
    done
}
# escapee_in NS: a process of that namespace that carries no mark.
escapee_in() {
    local pid environment
    for pid in $(in_namespace "$1"); do
        environment=$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null) || continue
        grep -q '^ONDRAKE_TEST_MARK=' <<<"$environment" || return 0
    done
    return 1
}

cat >"$T/overrun.sh" <<'SCRIPT'
T=$(mktemp -d)
source "$1/checks.sh"
source "$1/xvfb.sh"
start_xvfb 320x240 || exit 1
export WINEPREFIX=$T/pfx WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
bash -c 'trap "" TERM; sleep 600' &
(env -i setsid sleep 600 &)
echo "${DISPLAY#:}" >"$2"
sleep 600
SCRIPT
# In a process group of its own, all of which is killed below.
setsid bash "$isolate" overrun bash "$T/overrun.sh" "$(dirname "$0")" "$T/started" &
guard=$!
disown
mark=ondrake-test-overrun-$guard
eventually 20 '[ -s "$T/started" ]'
# Its namespace: that of its marked processes but the one that started it.
for pid in $(bash "$isolate" --list "$mark"); do
    namespace=$(readlink "/proc/$pid/ns/pid")
    [ "$namespace" != "$(readlink /proc/self/ns/pid)" ] && break
done
running=$(in_namespace "$namespace" | xargs -r ps -o comm= -p | sort | tr '\n' ' ')
for name in Xvfb wineserver sleep; do
    check "the test runs $name in its namespace ($running)" grep -q "$name" <<<"$running"
done
check "... and a process without its mark" escapee_in "$namespace"
check "its temporary folder exists" [ -d "/tmp/$mark" ]

kill -KILL -- "-$guard"
check "ended, it leaves no process" eventually 10 '[ -z "$(in_namespace "$namespace")" ]'
check "nor its temporary folder" eventually 5 '[ ! -e "/tmp/$mark" ]'
check "nor its X server's socket" [ ! -e "/tmp/.X11-unix/X$(cat "$T/started")" ]

# Ending by itself, a test takes with it what it left running.
token=$RANDOM$RANDOM
bash "$isolate" quick bash -c "(env -i setsid sleep 600.$token &); bash -c 'trap \"\" TERM; sleep 601.$token' & exit 5"
expect "a test's exit status is the test command's" 5 $?
check "what it left running has ended" eventually 5 "! pgrep -f '60[01].$token' >/dev/null"

# A heap overflow in a program whose standard error is put aside, as
# GoogleTest puts it aside to compare it.
g++ -fsanitize=address -g -x c++ -o "$T/overflow" - <<'PROGRAM'
#include <fcntl.h>
#include <unistd.h>
int main(int argc, char**) {
    dup2(open("/dev/null", O_WRONLY), 2);
    int* p = new int[4];
    return p[argc + 4];
}
PROGRAM
out=$(bash "$isolate" sanitized "$T/overflow" 2>&1)
status=$?
check "a sanitizer report fails the test" [ "$status" != 0 ]
check "... and shows in its output" grep -q "AddressSanitizer: heap-buffer-overflow" <<<"$out"
echo "isolation: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
