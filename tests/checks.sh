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

# holds CONDITION: a shell condition of more than one test, for check.
holds() { eval "$1"; }
