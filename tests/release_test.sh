#!/bin/bash
# The release zip of the Windows build: the three programs and the text for
# users, byte for byte as the dist folder holds them, the same bytes when
# packed again, and the same files from a second build of the same sources
# in another folder.
#   release_test.sh SOURCE_ROOT
set -u
source_root=$1 build=$1/build/win32
source "$(dirname "$0")/checks.sh"
[ -f "$build/Ondrake-1.0.zip" ] || missing "the win32 build"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT

names=$(unzip -Z1 "$build/Ondrake-1.0.zip" | sort | tr '\n' ' ')
expect "the zip's files" "Ondrake.3ds Ondrake.dll Ondrake.scr README.txt " "$names"
for name in Ondrake.3ds Ondrake.dll Ondrake.scr README.txt; do
    unzip -p "$build/Ondrake-1.0.zip" "$name" >"$T/$name"
    check "$name in the zip as in the dist folder" cmp -s "$T/$name" "$build/dist/$name"
done
check "README.txt has Windows line ends" grep -q $'\r$' "$build/dist/README.txt"

"$source_root/build/hosttools/bin/ondrake-release" "$T/again.zip" "$build/dist/README.txt" "$build/dist/Ondrake.scr" \
    "$build/dist/Ondrake.dll" "$build/dist/Ondrake.3ds"
check "packed again, the same zip" cmp -s "$T/again.zip" "$build/Ondrake-1.0.zip"

# The folder a build lies in must leave no trace in what it makes: a second
# build of the deliverables (not the test probes; with the same native
# tools, which run but are not shipped).
other=$T/another-build-folder
(cd "$source_root" && cmake --preset win32 -B "$other" >/dev/null &&
    cmake --build "$other" --target release installer ondrake-model >/dev/null)
check "a second build in $other succeeds" [ -f "$other/Ondrake-1.0.zip" ]
for name in $(ls "$build/dist") ../Ondrake-1.0.zip; do
    check "$name: the same bytes from a build in another folder" cmp "$build/dist/$name" "$other/dist/$name"
done
echo "release zip: $(stat -c %s "$build/Ondrake-1.0.zip") bytes; $passed passed, $failed failed"
[ "$failed" -eq 0 ]
