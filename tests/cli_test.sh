#!/bin/bash
# ondrake-model: output lines and exit codes of info and make.
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
source "$(dirname "$0")/checks.sh"

"$tool" make "$dir/drake.3ds"
expect "make exit" 0 $?
"$tool" make "$dir/again.3ds"
cmp -s "$dir/drake.3ds" "$dir/again.3ds"
expect "make twice gives the same bytes" 0 $?

out=$("$tool" info "$dir/drake.3ds" 2>"$dir/err")
expect "info exit" 0 $?
expect "info stderr" "" "$(cat "$dir/err")"
expect "info meshes line" "meshes: 6" "$(sed -n 1p <<<"$out")"
[[ $(sed -n 2p <<<"$out") =~ ^triangles:\ [0-9]+$ ]]
expect "info triangles line" 0 $?
[[ $(sed -n 3p <<<"$out") =~ ^bounds:(\ -?[0-9.e+-]+){6}$ ]]
expect "info bounds line" 0 $?
expect "info line count" 3 "$(wc -l <<<"$out")"

printf 'MM\x06\x00\x00\x00' >"$dir/empty.3ds"
expect "empty model" "meshes: 0
triangles: 0
bounds: none" "$("$tool" info "$dir/empty.3ds")"

"$tool" info "$dir/missing.3ds" >"$dir/out" 2>"$dir/err"
expect "missing file exit" 1 $?
expect "missing file message" "error open $dir/missing.3ds file" "$(cat "$dir/err")"
expect "missing file prints nothing" "" "$(cat "$dir/out")"

echo "not a model" >"$dir/text.3ds"
"$tool" info "$dir/text.3ds" >/dev/null 2>"$dir/err"
expect "wrong main chunk exit" 1 $?
expect "wrong main chunk message" "wrong main chunk" "$(cat "$dir/err")"

head -c 5000 "$dir/drake.3ds" >"$dir/cut.3ds"
"$tool" info "$dir/cut.3ds" >"$dir/out" 2>"$dir/err"
expect "truncated file still read" 0 $?
grep -q "^chunk 0x4d4d at 0: length [0-9]* runs past 5000, cut there$" "$dir/err"
expect "truncated file reported" 0 $?

"$tool" >/dev/null 2>&1
expect "no arguments" 2 $?
"$tool" info >/dev/null 2>&1
expect "info without file" 2 $?
"$tool" frobnicate x >/dev/null 2>&1
expect "unknown command" 2 $?

echo "cli: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
