# Sourced by the end-to-end test scripts: checks counted for the closing
# "N passed, N failed" line.

passed=0 failed=0
check() {  # description, then a command that must succeed
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAIL: $description"
        failed=$((failed + 1))
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
# the suite with ONDRAKE_ALLOW_SKIPS=1.
missing() {
    if [ "${ONDRAKE_ALLOW_SKIPS:-0}" = 1 ]; then
        echo "skipped: $1 missing"
        exit 77
    fi
    echo "FAIL: $1 missing (ONDRAKE_ALLOW_SKIPS=1 skips this test instead)"
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

# eventually SECONDS CONDITION: waits for a shell condition to hold.
eventually() {
    local i
    for i in $(seq $(($1 * 10))); do
        eval "$2" && return 0
        sleep 0.1
    done
    return 1
}

# above A B: the number A is greater than B.
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# holds CONDITION: a shell condition of more than one test, for check.
holds() { eval "$1"; }
