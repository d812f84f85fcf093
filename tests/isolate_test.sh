#!/bin/bash
# Nothing of a test outlives it, and what its sanitized programs report
# reaches its output. A test that has started an X server, a wineserver, a
# process that ignores SIGTERM and one that cleared its environment and left
# its session, then is killed as ctest kills a test that overruns its time
# (SIGKILL to it and the processes below it, which no trap sees), leaves no
# process, no temporary folder and no X socket; a test that ends by
# itself takes what it left running with it. Each in a PID namespace where
# the machine allows it, and by the mark, as elsewhere: the process that
# cleared its environment escapes the mark, and the killed X server's socket
# stays behind for the next server on its display to take over.
#   isolate_test.sh WORK_FOLDER    (outside /tmp, which each test has its own of)
set -u
source "$(dirname "$0")/checks.sh"
isolate=$(dirname "$0")/isolate.sh
mkdir -p "$1"
T=$(mktemp -d -p "$1")
trap 'rm -rf "$T"' EXIT
# The namespace first, where no X server's socket is left behind yet.
ways=(namespace marks)
unshare --pid --fork --mount-proc --kill-child true 2>/dev/null ||
    { ways=(marks); echo "no PID namespaces here (not root, or not allowed): the marks alone"; }
# Where unshare is not allowed: one that fails, first on the PATH.
mkdir "$T/no-unshare" && printf '#!/bin/sh\nexit 1\n' >"$T/no-unshare/unshare"
chmod +x "$T/no-unshare/unshare"

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
(env -i setsid sleep "600.$3" &)
echo "${DISPLAY#:}" >"$2"
sleep 600
SCRIPT

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

# left: the processes the test being checked left, by the way it is
# isolated.
left() { if [ "$way" = namespace ]; then in_namespace "$namespace"; else bash "$isolate" --list "$mark"; fi; }
for way in "${ways[@]}"; do
    path=$PATH
    [ "$way" = marks ] && path=$T/no-unshare:$PATH
    token=$RANDOM$RANDOM
    rm -f "$T/started"
    # In a process group of its own, all of which is killed below.
    PATH=$path setsid bash "$isolate" overrun bash "$T/overrun.sh" "$(dirname "$0")" "$T/started" "$token" &
    guard=$!
    disown
    mark=ondrake-test-overrun-$guard
    eventually 20 '[ -s "$T/started" ]'
    # Its namespace: that of its marked processes but the one that started
    # it.
    namespace=none
    [ "$way" = namespace ] && for pid in $(bash "$isolate" --list "$mark"); do
        [ "$(readlink "/proc/$pid/ns/pid")" != "$(readlink /proc/self/ns/pid)" ] &&
            { namespace=$(readlink "/proc/$pid/ns/pid"); break; }
    done
    [ "$way" = namespace ] && check "namespace: the test has a PID namespace of its own" [ "$namespace" != none ]
    running=$(left | xargs -r ps -o comm= -p | sort | tr '\n' ' ')
    for name in Xvfb wineserver sleep; do
        check "$way: the test runs $name ($running)" grep -q "$name" <<<"$running"
    done
    [ "$way" = namespace ] && check "... and a process without its mark" escapee_in "$namespace"
    check "$way: its temporary folder exists" [ -d "/tmp/$mark" ]

    kill -KILL -- "-$guard"
    check "$way: ended, it leaves no process" eventually 10 '[ -z "$(left)" ]'
    check "... nor its temporary folder" eventually 5 '[ ! -e "/tmp/$mark" ]'
    [ "$way" = namespace ] && check "... nor its X server's socket" [ ! -e "/tmp/.X11-unix/X$(cat "$T/started")" ]

    # Ending by itself, a test takes with it what it left running.
    PATH=$path bash "$isolate" quick \
        bash -c "(env -i setsid sleep 600.$token &); bash -c 'trap \"\" TERM; sleep 601.$token' & exit 5"
    expect "$way: a test's exit status is the test command's" 5 $?
    [ "$way" = marks ] && ended=601 || ended='60[01]'
    check "$way: what it left running has ended with it" holds "! pgrep -f '$ended.$token' >/dev/null"
    # What cleared its environment, here and in the test before, escapes
    # the mark.
    [ "$way" = marks ] && pkill -f "sleep 600.$token"

    out=$(PATH=$path bash "$isolate" sanitized "$T/overflow" 2>&1)
    check "$way: a sanitizer report fails the test" [ $? != 0 ]
    check "... and shows in its output" grep -q "AddressSanitizer: heap-buffer-overflow" <<<"$out"
done
echo "isolation: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
