#!/bin/bash
# End-to-end tests of Ondrake.dll under Wine on Xvfb: the window other
# programs see, how it ends, a missing model, a missing display mode, and a
# screenshot of the running saver; then on a desktop of two monitors (Xorg),
# where the display mode really changes.
#   renderer_test.sh BUILD_ROOT ARTIFACT_DIR
set -u
source "$(dirname "$0")/wine_env.sh" "$1" renderer
source "$(dirname "$0")/../two_monitors.sh"
artifacts=$2
mkdir -p "$artifacts"

# start_renderer: runs Ondrake.dll in the background as renderer (see
# start_bg); renderer_runs: it runs, its window there.
start_renderer() { start_bg renderer $W "$DIST/Ondrake.dll"; }
renderer_runs() { running renderer && probe find Sollvane_VC >/dev/null; }

wine_start 1024x768 "$T/pfx"
cp "$DIST/Ondrake.3ds" "$WINEPREFIX/drive_c/qorbel/Ondrake.3ds"

# The model tool's Windows build writes the same model and reads it the
# same way as the native one.
$W "$DIST/ondrake-model.exe" make 'C:\drake.3ds' >/dev/null 2>&1
check "ondrake-model.exe make: the same bytes as the shipped model" cmp -s "$WINEPREFIX/drive_c/drake.3ds" "$DIST/Ondrake.3ds"
check "ondrake-model.exe info: the same figures as the native tool" \
    [ "$(wine_run "$DIST/ondrake-model.exe" info 'C:\drake.3ds')" = "$("$1/host/bin/ondrake-model" info "$DIST/Ondrake.3ds")" ]

# The running saver: its window as other programs see it, and its picture.
start_renderer
check "window appears" probe wait Sollvane_VC 15000
eventually 15 'has_keys Sollvane_VC'
info=$(probe find Sollvane_VC)
echo "renderer window: $info"
check "class OpenGL" grep -q "class=OpenGL " <<<"$info"
check "1024 x 768 at (0, 0)" grep -q " rect=0,0,1024,768 " <<<"$info"
check "visible top-level pop-up" grep -Eq "style=0x9[0-9a-f]{7} .*visible=1 parent=0" <<<"$info"
model_drawn() {
    shot "$artifacts/renderer-running.png" &&
        colour=$(region "$artifacts/renderer-running.png" 400x400+312+184 "mean.r+mean.g+mean.b") &&
        grey_left=$(region "$artifacts/renderer-running.png" 250x768+0+0 "mean") &&
        above "$colour" 0.05 && above "$grey_left" 0.01
}
eventually 15 model_drawn 0.5
echo "screenshot: centre brightness $colour, left strip brightness $grey_left"
check "the model is drawn around the centre" above "$colour" 0.05
check "the trail is drawn on the left" above "$grey_left" 0.01
# Keys other than Esc, mouse moves and clicks leave it running.
xdotool key a space Return
xdotool mousemove 500 400 mousemove 600 300 click 1 click 3
probe char Sollvane_VC 65 >/dev/null
probe mouse Sollvane_VC >/dev/null
check "other keys and the mouse leave it running" holds 'renderer_loops && renderer_runs'
xdotool key Escape
check "Esc ends it with exit code 0" exits renderer 10 0
check "window gone after Esc" probe gone Sollvane_VC 2000

# WM_CLOSE posted from another process ends it the same way.
start_renderer
probe wait Sollvane_VC 15000 >/dev/null
probe close Sollvane_VC >/dev/null
check "WM_CLOSE ends it with exit code 0" exits renderer 10 0
check "window gone after WM_CLOSE" probe gone Sollvane_VC 2000

# black FILE GEOMETRY: a new screenshot, kept in FILE, is black in that
# part; sets brightest to the brightest level there.
black() { shot "$1" && brightest=$(region "$1" "$2" maxima) && [ "$brightest" = 0 ]; }

# Without the model: the message, a black picture, running until Esc.
rm "$WINEPREFIX/drive_c/qorbel/Ondrake.3ds"
start_renderer
brightest=none
eventually 15 'has_keys Sollvane_VC && grep -qF "error open" "$T/renderer.err" &&
    black "$artifacts/renderer-no-model.png" 1024x768+0+0' 0.5
check "missing model reported" grep -qF 'error open C:\qorbel\Ondrake.3DS file' "$T/renderer.err"
check "missing model gives a black picture" [ "$brightest" = 0 ]
check "missing model keeps running" holds 'renderer_loops && renderer_runs'
xdotool key Escape
check "Esc without model: exit code 0" exits renderer 10 0

# No 1024 x 768 x 32 mode (an 800 x 600 screen): exit code 1 at once, and
# no window ever seen (a window seen ends the watch at once).
wineserver -k
wine_start 800x600 "$T/pfx-small"
watch never never Sollvane_VC 60000
start_renderer
check "no display mode: exit code 1" exits renderer 15 1
check "no display mode: no window ever seen" holds 'running never && ! grep -q seen "$T/never.out"'
kill "$(pid_of never)"

# Two monitors on a green desktop, the primary at 1280 x 1024: for the whole
# run the primary shows the picture at 1024 x 768 and the other monitor,
# moved beside it, is black, also after its mode changes; whatever modes
# another program gives the primary, no monitor shows the desktop; a click
# on the black monitor ends nothing and leaves the keys with the renderer;
# after Esc and after WM_CLOSE both monitors come back at their modes and
# places, and so they do when the saver's renderer is killed.
wineserver -k
start_two_monitors || { echo "no Xorg of two monitors:"; tail -5 "$T/xorg.log"; exit 1; }
xsetroot -solid '#00ff00'
wine_make_prefix "$T/pfx-two"
# The desktop process first: it takes in the two monitors before the
# renderer asks for a mode.
probe desktop >/dev/null
cp "$DIST/Ondrake.3ds" "$WINEPREFIX/drive_c/qorbel/Ondrake.3ds"
during="DUMMY0 1024x768+0+0 DUMMY1 1024x768+1024+0"
# desktop_hidden FILE: a new screenshot, kept in FILE, shows the picture
# and, outside its 1024 x 768 at (0, 0), no green desktop on any monitor;
# sets desktop to each monitor's share of green there.
desktop_hidden() {
    local place i
    desktop=""
    shot "$1" && above "$(region "$1" 400x400+312+184 "mean.r+mean.b")" 0.05 || return 1
    read -ra place <<<"$(monitor_places)"
    for ((i = 0; i < ${#place[@]}; i += 2)); do
        desktop+="${place[i]} $(convert "$1" -fill black -draw 'rectangle 0,0 1023,767' -crop "${place[i + 1]}" \
            +repage -fuzz 10% -fill black +opaque '#00ff00' -fill white -opaque '#00ff00' -format '%[fx:mean]' info:) "
    done
    ! grep -Eq ' [0-9.]*[1-9]' <<<"$desktop"
}
for ending in Esc WM_CLOSE; do
    start_renderer
    probe wait Sollvane_VC 15000 >/dev/null
    check "$ending run: the primary at 1024 x 768, the other monitor beside it" \
        eventually 5 '[ "$(monitor_places)" = "$during" ]'
    check "$ending run: the other monitor covered" probe wait Sollvane_Cover 5000
    check "$ending run: the other monitor black" eventually 2 'black "$T/two.png" 1024x768+1024+0'
    if [ "$ending" = Esc ]; then
        cp "$T/two.png" "$artifacts/renderer-two-monitors.png"
        check "the picture on the primary" above "$(region "$T/two.png" 400x400+312+184 "mean.r+mean.b")" 0.05
        xdotool mousemove 1500 400 click 1 click 3
        check "a click on the black monitor ends nothing" holds 'renderer_loops && renderer_runs'
        expect "a click on the black monitor leaves the keys with the renderer" "OpenGL|Sollvane_VC" \
            "$(probe focus Sollvane_VC)"
        xdotool key Escape
    else
        # Another program changes the other monitor's mode during the run.
        probe mode '\\.\DISPLAY2' 800 600
        check "a display change during the run: the cover follows the monitor" \
            eventually 5 'probe find Sollvane_Cover | grep -q " rect=1024,0,800,600 "'
        # The primary made smaller than the picture moves the other monitor
        # under it; made larger, it shows more than the picture.
        for size in "800 600" "1280 1024"; do
            probe mode '\\.\DISPLAY1' $size
            check "the primary set to ${size/ / x } during the run: the picture shows, no monitor the desktop" \
                eventually 5 'desktop_hidden "$T/primary-$size.png"' 0.5
            echo "the primary at ${size/ / x }: $(monitor_places); green shares: $desktop"
        done
        probe close Sollvane_VC >/dev/null
    fi
    check "$ending ends the two-monitor run with exit code 0" exits renderer 10 0
    check "after $ending both monitors back at their modes and places" \
        eventually 5 '[ "$(monitor_places)" = "$TWO_MONITORS" ]'
done

# The saver's run, its renderer killed: the front end gives the display
# back all the same.
install_saver "$WINEPREFIX/drive_c/Ondrake"
start_scr /s
probe wait Sollvane_VC 15000 >/dev/null
check "/s: the primary at 1024 x 768" eventually 5 '[ "$(monitor_places)" = "$during" ]'
probe kill Sollvane_VC
check "/s, the renderer killed: the front end ends with 0" exits scr 10 0
check "/s, the renderer killed: both monitors back at their modes and places" \
    eventually 5 '[ "$(monitor_places)" = "$TWO_MONITORS" ]'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
