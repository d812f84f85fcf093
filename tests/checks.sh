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

# count_checks OUTPUT WHAT: adds the counts of the "N passed, N failed" line
# that another program's checks printed.
count_checks() {
    local line
    line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' <<<"$1" | tail -1)
    if [ -z "$line" ]; then
        echo "FAIL: $2: no result line"
        failed=$((failed + 1))
        return
    fi
    passed=$((passed + $(cut -d' ' -f1 <<<"$line")))
    failed=$((failed + $(cut -d' ' -f3 <<<"$line")))
}

# above A B: the number A is greater than B.
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# holds CONDITION: a shell condition of more than one test, for check.
holds() { eval "$1"; }
