# Sourced by the end-to-end test scripts: checks counted for the closing
# "N passed, N failed" line, the test's temporary folder, and the programs
# it runs in the background.

passed=0 failed=0
check() {  # description, then a command that must succeed; its result
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAIL: $description"
        failed=$((failed + 1))
        return 1
    fi
}

expect() {  # description, expected text, actual text
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: $1: expected [$2], got [$3]"
        failed=$((failed + 1))
    fi
}

# missing WHAT: this test cannot run here. A failure that says what is
# missing; a skip (exit 77) only for someone who knowingly runs a part of
# the suite, with scripts/test.sh --allow-skips (or ONDRAKE_ALLOW_SKIPS=1
# for ctest alone).
missing() {
    if [ "${ONDRAKE_ALLOW_SKIPS:-0}" = 1 ]; then
        echo "skipped: $1 missing"
        exit 77
    fi
    echo "FAIL: $1 missing (scripts/test.sh --allow-skips skips this test instead)"
    exit 1
}

# count_checks OUTPUT WHAT STATUS: adds the counts of the "N passed, N
# failed" line that another program's checks printed; its exit status must
# be 0 too, so that a crash after that line (at teardown) fails.
count_checks() {
    local line
    [ "$3" -eq 0 ] || { echo "FAIL: $2: ended with status $3"; failed=$((failed + 1)); }
    line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' <<<"$1" | tail -1)
    if [ -z "$line" ]; then
        echo "FAIL: $2: no result line"
        failed=$((failed + 1))
        return
    fi
    passed=$((passed + $(cut -d' ' -f1 <<<"$line")))
    failed=$((failed + $(cut -d' ' -f3 <<<"$line")))
}
# run_checks WHAT COMMAND...: runs a program of checks, shows what it
# printed besides its result line, and counts them (see count_checks).
run_checks() {
    local out status
    out=$("${@:2}")
    status=$?
    awk '!/^[0-9]+ passed, [0-9]+ failed/ && NF { print "  " $0 }' <<<"$out"
    count_checks "$out" "$1" "$status"
}

# eventually SECONDS CONDITION [STEP]: waits for a shell condition to hold,
# looking every STEP seconds (0.1 unless given) for about SECONDS plus the
# time the looks take.
eventually() {
    local i
    for i in $(seq "$(awk -v s="$1" -v step="${3:-0.1}" 'BEGIN { printf "%d", s / step }')"); do
        eval "$2" && return 0
        sleep "${3:-0.1}"
    done
    eval "$2"
}

# above A B: the number A is greater than B.
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
# within A B TOLERANCE: the numbers A and B differ by TOLERANCE at most.
within() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; exit !(d <= t && -d <= t) }'; }

# holds CONDITION: a shell condition of more than one test, for check.
holds() { eval "$1"; }

# test_folder NAME: sets T to a new temporary folder of the test's, which
# holds a home of its own for the programs it runs.
test_folder() {
    T=$(mktemp -d --tmpdir "ondrake-$1.XXXXXX")
    export HOME=$T/home XDG_CACHE_HOME=$T/home/.cache XDG_RUNTIME_DIR=$T/home/run
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

# Programs run in the background, each under a NAME of the test's choice;
# they need $T, a folder of the test's.
#   start_bg NAME COMMAND...   runs it, its standard output in $T/NAME.out
#                              and its standard error in $T/NAME.err
#   finished NAME SECONDS      waits for it to end; sets code to its exit
#                              code, or to "running"; true once it ended
#   exits NAME SECONDS CODE    it ends within SECONDS with that exit code
#   running NAME               it has not ended
#   pid_of NAME                its process id
# Only the shell that started a program can collect its exit code, so
# these are called in that shell, never in $(...).
declare -gA bg_pids=() bg_codes=()
background=()
start_bg() {
    local name=$1
    shift
    "$@" >"$T/$name.out" 2>"$T/$name.err" &
    bg_pids[$name]=$!
    unset "bg_codes[$name]"
    background+=($!)
}
pid_of() { echo "${bg_pids[$1]}"; }
running() {  # (a zombie has ended: it waits only to be collected)
    local stat
    [ -z "${bg_codes[$1]+ended}" ] && stat=$(cat "/proc/${bg_pids[$1]}/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}
finished() {
    code=running
    if [ -z "${bg_codes[$1]+ended}" ]; then
        eventually "$2" "! running $1" 0.02 || return 1
        wait "${bg_pids[$1]}" 2>/dev/null
        bg_codes[$1]=$?
    fi
    code=${bg_codes[$1]}
}
exits() { finished "$1" "$2" && [ "$code" = "$3" ]; }
# end_background: ends every program started (start_bg, start_x_server),
# the last started first: a display goes after everything that uses it.
end_background() {
    local i
    for ((i = ${#background[@]} - 1; i >= 0; i--)); do kill "${background[i]}" 2>/dev/null || :; done
}
