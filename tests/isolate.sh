#!/bin/bash
# Runs one test so that nothing it starts outlives it, and so that whatever
# its sanitized programs report reaches its output:
#   isolate.sh NAME COMMAND [ARGS...]
#
# Where the machine allows it (root, and unshare works), the test runs in a
# PID namespace of its own with its own /proc: this script is the first
# process there, and when it ends the kernel kills everything left in the
# namespace, however a process got away from its parent, its session or its
# environment. (A namespace rather than a cgroup: the kernel ends it with
# its first process, and it needs no delegated cgroup.) The test's
# temporary folder is its /tmp there, so the lock files and sockets of its
# X servers and wineservers go with it too, and the display numbers of tests
# in other namespaces never meet (the X servers' abstract sockets, which the
# namespaces share, keep them apart).
# Elsewhere (no root, no namespaces) the test and what it starts carry
# ONDRAKE_TEST_MARK in their environment and TMPDIR=/tmp/MARK, and the
# marked processes are ended; one that clears its environment escapes that.
#
# Either way the processes left when the test ends are asked to end
# (SIGTERM, so that servers clean up), then killed. ctest ends a test that
# overruns its time with SIGKILL to it and the processes below it, which no
# trap sees; then a sentinel outside, which learns of this script's end when
# the pipe that only this script holds closes, sweeps the marked processes
# and removes the folder (the namespace has gone by itself).
#
# Sanitizer reports (AddressSanitizer, UBSan) are written to files in the
# folder rather than to standard error, which a test may have captured, and
# shown at the end; any report fails the test.
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

# others: the ids of the living processes of this namespace but this shell
# and its subshell.
others() {
    local dir stat
    for dir in /proc/[0-9]*; do
        [ "${dir#/proc/}" = $$ ] || [ "${dir#/proc/}" = "$BASHPID" ] && continue
        read -r stat 2>/dev/null <"$dir/stat" || continue
        stat=${stat##*) }
        [ "${stat%% *}" = Z ] || echo "${dir#/proc/}"
    done
}

# end_all LIST: asks the processes that the command LIST prints to end, then
# kills what is left, also what they start meanwhile.
end_all() {
    local pid round
    for pid in $($1); do kill -TERM "$pid" 2>/dev/null; done
    for round in $(seq 40); do
        [ -z "$($1)" ] && break
        ((round > 20)) && for pid in $($1); do kill -KILL "$pid" 2>/dev/null; done
        sleep 0.1
    done
}

# sanitizer_options FOLDER: reports go to files in that folder.
sanitizer_options() {
    mkdir -p "$1"
    export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}log_path=$1/report
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}log_path=$1/report
}

case $1 in
    --list) marked "$2"; exit 0 ;;
    --sentinel)
        # MARK WAY: once the test has ended, by itself or killed.
        read -r _
        [ "$3" = marks ] && end_all "marked $2"
        rm -rf "/tmp/$2"
        exit 0 ;;
    --inside)
        # The first process of the test's namespace: the test, then the end
        # of everything else here.
        mark=$2
        shift 2
        # A checkout, or the folder the test runs in, may itself lie in
        # /tmp (a clone there, as CI may make): it is bound into the
        # test's folder at the same place, so that it stays where it was.
        for path in "$(cd "$(dirname "$0")/.." && pwd)" "$PWD"; do
            case $path in
                /tmp/*)
                    mkdir -p "/tmp/$mark${path#/tmp}" &&
                        mount --bind "$path" "/tmp/$mark${path#/tmp}" || exit 1 ;;
            esac
        done
        mount --rbind "/tmp/$mark" /tmp || exit 1
        export TMPDIR=/tmp
        sanitizer_options /tmp/.sanitizer
        "$@"
        status=$?
        end_all others
        exit "$status" ;;
esac

name=$1
shift
mark=ondrake-test-$name-$$
folder=/tmp/$mark
mkdir -p "$folder"
mkfifo "$folder/.alive"
way=marks
unshare --pid --fork --mount-proc --kill-child true 2>/dev/null && way=namespace
(setsid bash "$0" --sentinel "$mark" "$way" <"$folder/.alive" >/dev/null 2>&1 &)
exec 3>"$folder/.alive"
if [ "$way" = namespace ]; then
    ONDRAKE_TEST_MARK=$mark unshare --pid --fork --mount-proc --kill-child bash "$0" --inside "$mark" "$@" 3>&-
    status=$?
else
    (
        export ONDRAKE_TEST_MARK=$mark TMPDIR=$folder
        sanitizer_options "$folder/.sanitizer"
        "$@" 3>&-
    )
    status=$?
    end_all "marked $mark"
fi
for report in "$folder"/.sanitizer/report.*; do
    [ -e "$report" ] || continue
    echo "FAIL: a sanitizer report (process ${report##*.}):"
    cat "$report"
    status=1
done >&2
rm -rf "$folder"
exit "$status"
