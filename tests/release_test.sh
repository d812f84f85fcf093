#!/bin/bash
# The release zip of the Windows build: the three programs and the text for
# users, byte for byte as the dist folder holds them, and the same bytes when
# packed again.
#   release_test.sh BUILD_ROOT
set -u
build=$1/win32
[ -f "$build/Ondrake-1.0.zip" ] || { echo "no win32 build: skipped"; exit 77; }
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
source "$(dirname "$0")/checks.sh"

names=$(unzip -Z1 "$build/Ondrake-1.0.zip" | sort | tr '\n' ' ')
expect "the zip's files" "Ondrake.3ds Ondrake.dll Ondrake.scr README.txt " "$names"
for name in Ondrake.3ds Ondrake.dll Ondrake.scr README.txt; do
    unzip -p "$build/Ondrake-1.0.zip" "$name" >"$T/$name"
    check "$name in the zip as in the dist folder" cmp -s "$T/$name" "$build/dist/$name"
done
check "README.txt has Windows line ends" grep -q $'\r$' "$build/dist/README.txt"

"$build/hosttools/bin/ondrake-release" "$T/again.zip" "$build/dist/README.txt" "$build/dist/Ondrake.scr" \
    "$build/dist/Ondrake.dll" "$build/dist/Ondrake.3ds"
check "packed again, the same zip" cmp -s "$T/again.zip" "$build/Ondrake-1.0.zip"
echo "release zip: $(stat -c %s "$build/Ondrake-1.0.zip") bytes; $passed passed, $failed failed"
[ "$failed" -eq 0 ]
