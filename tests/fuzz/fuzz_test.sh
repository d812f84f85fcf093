#!/bin/bash
# The fuzzer over the model reader, for a bounded time: our seed corpus plus
# what earlier runs here found. Fails when the fuzzer finds a fault, ends
# with an error, or stops before its time.
#   fuzz_test.sh FUZZ_BUILD       (for ONDRAKE_FUZZ_SECONDS, 60 unless set)
set -u
build=$1 seconds=${ONDRAKE_FUZZ_SECONDS:-60}
source "$(dirname "$0")/../checks.sh"
[ -x "$build/bin/fuzz_reader" ] || missing "the fuzz build ($build/bin/fuzz_reader)"

mkdir -p "$build/seeds" "$build/corpus" "$build/crashes"
"$build/bin/make_seeds" "$build/seeds"
# Reader messages are silenced (fd 2 closed); a crash is shown again in full.
start=$(date +%s%N)
out=$("$build/bin/fuzz_reader" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -close_fd_mask=2 -artifact_prefix="$build/crashes/" -print_final_stats=1 \
    "$build/corpus" "$build/seeds" 2>&1)
status=$?
ran=$((($(date +%s%N) - start) / 1000000))
grep -E '^(stat::number_of_executed_units|Done|==|SUMMARY)' <<<"$out"
expect "the fuzzer's exit code" 0 "$status"
check "the fuzzer ran for its ${seconds} s (measured: $ran ms)" [ "$ran" -ge $((seconds * 1000 - 500)) ]
units=$(sed -n 's/^stat::number_of_executed_units: *//p' <<<"$out")
check "... running at least 100 inputs a second (${units:-no} in all)" [ "${units:-0}" -ge $((seconds * 100)) ]
for crash in "$build"/crashes/*; do
    [ -e "$crash" ] || continue
    echo "FAIL: $crash reproduces a fault; keep it in tests/fuzz/regressions as hex:"
    od -An -tx1 -v "$crash"
    "$build/bin/fuzz_reader" "$crash"
    failed=$((failed + 1))
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
