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
failed=0
fail() { echo "FAIL: $1"; failed=1; }

names=$(unzip -Z1 "$build/Ondrake-1.0.zip" | sort | tr '\n' ' ')
[ "$names" = "Ondrake.3ds Ondrake.dll Ondrake.scr README.txt " ] || fail "the zip holds: $names"
for name in Ondrake.3ds Ondrake.dll Ondrake.scr README.txt; do
    unzip -p "$build/Ondrake-1.0.zip" "$name" >"$T/$name"
    cmp -s "$T/$name" "$build/dist/$name" || fail "$name in the zip differs from the dist folder's"
done
grep -q $'\r$' "$build/dist/README.txt" || fail "README.txt has Windows line ends"

"$build/hosttools/bin/ondrake-release" "$T/again.zip" "$build/dist/README.txt" "$build/dist/Ondrake.scr" \
    "$build/dist/Ondrake.dll" "$build/dist/Ondrake.3ds" || fail "packing again"
cmp -s "$T/again.zip" "$build/Ondrake-1.0.zip" || fail "packed again, the zip differs"
[ $failed = 0 ] && echo "release zip: $(stat -c %s "$build/Ondrake-1.0.zip") bytes, as packed again"
exit $failed
