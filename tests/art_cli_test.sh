#!/bin/bash
# ondrake-art: the face files, their bytes the same on every run, and the
# same as those the Windows builds embedded (drawn by their own native
# build of the tool), where those builds exist.
#   art_cli_test.sh TOOL BUILD_ROOT
set -u
tool=$1 build_root=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
check() {  # description, expected, actual
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}
faces="Disable.bmp
HighLight.bmp
HighLightSelect.bmp
Normal.bmp
Pressed.bmp
Selected.bmp"

mkdir "$dir/a" "$dir/b"
"$tool" faces "$dir/a"
check "faces exit" 0 $?
check "face files" "$faces" "$(ls "$dir/a")"
for f in "$dir"/a/*.bmp; do
    check "$(basename "$f") size" 4854 "$(stat -c %s "$f")"
done
"$tool" faces "$dir/b"
diff -r "$dir/a" "$dir/b" >/dev/null
check "two runs give the same bytes" 0 $?
for preset in win32 win64; do
    if [ -d "$build_root/$preset/faces" ]; then
        diff -r "$dir/a" "$build_root/$preset/faces" >/dev/null
        check "the $preset build embeds the same faces" 0 $?
    fi
done

"$tool" faces "$dir/missing/folder" 2>"$dir/err"
check "unwritable folder exit" 1 $?
check "unwritable folder message" "cannot write $dir/missing/folder/Normal.bmp" "$(cat "$dir/err")"
"$tool" 2>/dev/null
check "usage exit" 2 $?

[ "$failures" -eq 0 ]
