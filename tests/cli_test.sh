#!/bin/bash
# ondrake-model: output lines and exit codes of info and make.
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() {  # description, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}

"$tool" make "$dir/drake.3ds"
check "make exit" 0 $?
"$tool" make "$dir/again.3ds"
cmp -s "$dir/drake.3ds" "$dir/again.3ds"
check "make twice gives the same bytes" 0 $?

out=$("$tool" info "$dir/drake.3ds" 2>"$dir/err")
check "info exit" 0 $?
check "info stderr" "" "$(cat "$dir/err")"
check "info meshes line" "meshes: 6" "$(sed -n 1p <<<"$out")"
[[ $(sed -n 2p <<<"$out") =~ ^triangles:\ [0-9]+$ ]]
check "info triangles line" 0 $?
[[ $(sed -n 3p <<<"$out") =~ ^bounds:(\ -?[0-9.e+-]+){6}$ ]]
check "info bounds line" 0 $?
check "info line count" 3 "$(wc -l <<<"$out")"

printf 'MM\x06\x00\x00\x00' >"$dir/empty.3ds"
check "empty model" "meshes: 0
triangles: 0
bounds: none" "$("$tool" info "$dir/empty.3ds")"

"$tool" info "$dir/missing.3ds" >"$dir/out" 2>"$dir/err"
check "missing file exit" 1 $?
check "missing file message" "error open $dir/missing.3ds file" "$(cat "$dir/err")"
check "missing file prints nothing" "" "$(cat "$dir/out")"

echo "not a model" >"$dir/text.3ds"
"$tool" info "$dir/text.3ds" >/dev/null 2>"$dir/err"
check "wrong main chunk exit" 1 $?
check "wrong main chunk message" "wrong main chunk" "$(cat "$dir/err")"

head -c 5000 "$dir/drake.3ds" >"$dir/cut.3ds"
"$tool" info "$dir/cut.3ds" >"$dir/out" 2>"$dir/err"
check "truncated file still read" 0 $?
grep -q "^chunk 0x4d4d at 0: length [0-9]* runs past 5000, cut there$" "$dir/err"
check "truncated file reported" 0 $?

"$tool" >/dev/null 2>&1
check "no arguments" 2 $?
"$tool" info >/dev/null 2>&1
check "info without file" 2 $?
"$tool" frobnicate x >/dev/null 2>&1
check "unknown command" 2 $?

[ "$failures" -eq 0 ] && echo "cli: all checks passed"
exit "$failures"
