#!/bin/bash
# ondrake-art: the face files, their bytes the same on every run, its exit
# codes and messages; or, given the build root, that the faces the Windows
# builds embedded (drawn by the optimised native build of the tool) are the
# ones it draws.
#   art_cli_test.sh TOOL [BUILD_ROOT]
set -u
tool=$1 build_root=${2:-}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
source "$(dirname "$0")/checks.sh"
faces="Disable.bmp
HighLight.bmp
HighLightSelect.bmp
Normal.bmp
Pressed.bmp
Selected.bmp"

mkdir "$dir/a" "$dir/b"
"$tool" faces "$dir/a"
expect "faces exit" 0 $?
if [ -n "$build_root" ]; then
    # Beside them, the faces at twice their size for dense screens.
    mkdir "$dir/both" && cp "$dir"/a/*.bmp "$dir/both" && "$tool" faces "$dir/both" 2
    for preset in win32 win64; do
        # The x86-64 build is made only where the Wine tests need it.
        if [ ! -d "$build_root/$preset/faces" ]; then
            [ "$preset" = win32 ] && missing "the win32 build's faces"
            continue
        fi
        diff -r "$dir/both" "$build_root/$preset/faces" >/dev/null
        expect "the $preset build embeds the same faces" 0 $?
    done
    echo "art in the builds: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
fi
expect "face files" "$faces" "$(ls "$dir/a")"
for f in "$dir"/a/*.bmp; do
    expect "$(basename "$f") size" 4854 "$(stat -c %s "$f")"
done
"$tool" faces "$dir/b"
diff -r "$dir/a" "$dir/b" >/dev/null
expect "two runs give the same bytes" 0 $?

"$tool" faces "$dir/missing/folder" 2>"$dir/err"
expect "unwritable folder exit" 1 $?
expect "unwritable folder message" "cannot write $dir/missing/folder/Normal.bmp" "$(cat "$dir/err")"
"$tool" 2>/dev/null
expect "usage exit" 2 $?

echo "art: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
