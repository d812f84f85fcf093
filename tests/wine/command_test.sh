#!/bin/bash
# The Command button under Wine on Xvfb: its in-process checks (faces,
# caption, Tab, leave timing, GDI objects, deletion from its own handlers,
# properties), then a host window driven with the real X pointer and
# keyboard, its faces read from screenshots.
#   command_test.sh BUILD_ROOT
set -u
source "$(dirname "$0")/wine_env.sh" "$1" command

wine_start 640x480 "$T/pfx"
wine_japanese_fonts
wineserver -p </dev/null >/dev/null 2>&1
cp "$PROBES/command_host.exe" "$WINEPREFIX/drive_c/"
host='C:\command_host.exe'

# In-process checks. Freed memory is filled (warn+heap), so that a handler
# touching a deleted button would crash here rather than pass by luck.
WINEDEBUG=warn+heap run_checks "in-process checks" wine_run "$host" checks

# The host window, driven from outside.
log=$WINEPREFIX/drive_c/host.log
WINEDEBUG=warn+heap start_bg host $W "$host" show 'C:\host.log'
check "the host shows its buttons" eventually 10 "grep -q '^ready' '$log' 2>/dev/null"
eventually 5 "xdotool search --onlyvisible --name '^CommandHost\$' >/dev/null 2>&1"
declare -A left top width height
while read -r _ name x y w h; do
    left[$name]=$x top[$name]=$y width[$name]=$w height[$name]=$h
done < <(tr -d '\r' <"$log" | grep '^button ')

shot=$T/shot.png
# The face a button shows in a new screenshot: ring 2's top colour in the
# middle of its top edge, then "dark-top" or "light-top" for the gradient
# beside the caption.
look() {
    local b=$1 x=$((left[$1] + width[$1] / 2)) ring2 upper lower
    shot "$shot"
    ring2=$(pixel "$shot" "$x" $((top[$b] + 2)))
    upper=$(pixel "$shot" $((left[$b] + 6)) $((top[$b] + 4)))
    lower=$(pixel "$shot" $((left[$b] + 6)) $((top[$b] + height[$b] - 5)))
    if [ $((16#${upper:0:2} + 16#${upper:2:2} + 16#${upper:4:2})) -lt \
        $((16#${lower:0:2} + 16#${lower:2:2} + 16#${lower:4:2})) ]; then
        echo "$ring2 dark-top"
    else
        echo "$ring2 light-top"
    fi
}
# A point near the button's centre, DX pixels to the right. Wine sees the
# pointer only over its own windows, so coming back from the bare root
# window to the very pixel it left from gives no mouse move: each visit
# takes another point.
centre() { echo $((left[$1] + width[$1] / 2 + ${2:-0})) $((top[$1] + height[$1] / 2)); }
away() { xdotool mousemove 500 400; }
clicks() { grep -c "^click $1" "$log"; }
# ticks N: N more polls of A, so the input and paints before them are done.
ticks() { eventually 5 "[ \$(grep -c '^tick' '$log') -ge $(($(grep -c '^tick' "$log") + $1)) ]"; }
expect_look() {  # button, expected look, description: shown within 3 s
    local seen
    eventually 3 "seen=\$(look $1) && [ \"\$seen\" = '$2' ]"
    check "$3 (saw $seen)" [ "$seen" = "$2" ]
}
# disable_face: C shows its Disable face in the last screenshot.
disable_face() { [ "$(pixel "$shot" $((left[C] + 14)) $((top[C] + 1)))" = C9C7BA ]; }

away
expect_look A "$ring_normal light-top" "A is Normal at first"
check "C shows the Disable face" disable_face

xdotool mousemove $(centre A)
expect_look A "$ring_highlight dark-top" "hovering shows HighLight over the reversed gradient"
away
expect_look A "$ring_normal light-top" "leaving shows Normal again"

xdotool mousemove $(centre A 2) click 1
expect_look A "$ring_highlight dark-top" "after the click: HighLightSelect, the gradient kept from HighLight"
ticks 2
check "a primary click raises Click once" [ "$(clicks A)" = 1 ]

# Press, drag off (the poll moves it to Selected), drag back, release.
xdotool mousedown 1
check "held: the Pressed face's border one pixel in" \
    eventually 3 'shot "$shot" && [ "$(pixel "$shot" $((left[A] + width[A] / 2)) $((top[A] + 2)))" = "$ring_pressed" ]'
away
expect_look A "$ring_selected light-top" "dragged off: Selected"
xdotool mousemove $(centre A -3)
ticks 2
seen=$(look A)
check "dragged back while held: still Selected (saw $seen)" [ "$seen" = "$ring_selected light-top" ]
xdotool mouseup 1
ticks 2
check "press, drag off and back, release: no Click" [ "$(clicks A)" = 1 ]

xdotool mousemove $(centre B) click 3
ticks 2
check "a secondary release raises Click" [ "$(clicks B)" = 1 ]
xdotool click 2
ticks 2
check "a middle release raises Click" [ "$(clicks B)" = 2 ]

xdotool mousemove $(centre C) click 1
ticks 2
shot "$shot"
check "a disabled button ignores a click" [ "$(clicks C)" = 0 ]
check "and keeps its Disable face" disable_face

# Focus is on A from its click. Tab moves it, passing over the disabled C.
away
ticks 2
xdotool key Tab
expect_look B "$ring_selected light-top" "Tab moves the focus to B, which shows Selected"
expect_look A "$ring_normal light-top" "A, left, shows Normal"
xdotool key Tab
expect_look D "$ring_selected light-top" "Tab passes over C to D"

# D's Click closes the window and deletes every button from inside it.
xdotool mousemove $(centre D) click 1
check "closing from a Click handler: the program ends normally" exits host 5 0
check "closing from a Click handler: the handler and the program finish" \
    [ "$(tail -2 "$log" | tr -d '\r' | tr '\n' ' ')" = "closed end " ]

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
