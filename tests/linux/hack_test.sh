#!/bin/bash
# The ondrake hack on Xvfb with Mesa's GLX: drawing into a window made here,
# following its size, sleeping while unseen, ending when the window goes
# (at any moment), at once on signals, on q, Esc and the window manager's
# close; windows it cannot draw on directly, a virtual root, its options,
# and hostile model files.
#   hack_test.sh HACK MODEL XWIN MAKE_HOSTILE MODEL_TOOL REGRESSIONS ARTIFACTS LATE_GEOMETRY
set -u
HACK=$1 MODEL=$2 XWIN=$3 MAKE_HOSTILE=$4 MODEL_TOOL=$5 REGRESSIONS=$6 artifacts=$7 LATE_GEOMETRY=$8
source "$(dirname "$0")/x_env.sh"
command -v Xvfb >/dev/null || missing "Xvfb"
command -v convert >/dev/null || missing "ImageMagick"
mkdir -p "$artifacts"

# Picture measures, from a screenshot of one window.
shot() { timeout 20 import -window "$1" "$2"; }
# Fraction of strongly coloured pixels (HSL saturation above 30 %): the model.
coloured() {
    convert "$1" ${2:+-crop "$2" +repage} -colorspace HSL -channel G -separate +channel -threshold 30% \
        -format "%[fx:mean]" info:
}
# Bounding box of the coloured pixels, as "centre-x centre-y width height".
coloured_box() {
    convert "$1" -colorspace HSL -channel G -separate +channel -threshold 30% -format "%@" info: |
        awk -F'[x+]' '{ print $3 + $1 / 2, $4 + $2 / 2, $1, $2 }'
}
brightness() { convert "$1" ${2:+-crop "$2" +repage} -colorspace Gray -format "%[fx:mean]" info:; }
lit() { convert "$1" -format "%[max]" info:; }
# draws WINDOW: the model shows in the window.
draws() {
    shot "$1" "$T/draws.png"
    above "$(coloured "$T/draws.png")" 0.01
}
near() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; exit !(d <= t && -d <= t) }'; }

x_start_display 1280x1024 || { echo "no Xvfb"; exit 1; }

# A window made here, as a screen saver makes one.
make_window 640 480
start_hack drawn -window-id "$window" -model "$MODEL"
first_picture() {
    shot "$window" "$artifacts/hack-640x480.png"
    c=$(coloured "$artifacts/hack-640x480.png" 320x240+160+120)
    left=$(brightness "$artifacts/hack-640x480.png" 120x480+0+0)
    left_colour=$(coloured "$artifacts/hack-640x480.png" 120x480+0+0)
    read -r cx cy bw bh < <(coloured_box "$artifacts/hack-640x480.png")
    above "$c" 0.05 && near "$cx" 320 64 && near "$cy" 240 48 && above "$left" 0.02 && ! above "$left_colour" 0.01
}
settle 15 first_picture
echo "640 x 480: coloured centre $c, model box centre ($cx, $cy) size $bw x $bh, left strip brightness $left (coloured $left_colour)"
check "a coloured model around the window's centre" above "$c" 0.05
check "the model box is centred" eval 'near "$cx" 320 64 && near "$cy" 240 48'
check "a grey trail on the left" eval 'above "$left" 0.02 && ! above "$left_colour" 0.01'

"$XWIN" resize "$window" 1000 700
resized_picture() {
    shot "$window" "$artifacts/hack-1000x700.png"
    read -r cx cy bw bh < <(coloured_box "$artifacts/hack-1000x700.png")
    left=$(brightness "$artifacts/hack-1000x700.png" 180x700+0+0)
    near "$cx" 500 100 && near "$cy" 350 70 && above "$left" 0.02
}
settle 10 resized_picture
echo "resized to 1000 x 700: model box centre ($cx, $cy) size $bw x $bh, left strip brightness $left"
check "after a resize the model is centred in the larger window" eval 'near "$cx" 500 100 && near "$cy" 350 70'
check "after a resize the trail still fills the left" above "$left" 0.02

"$XWIN" destroy "$window"
start=$(date +%s%N)
wait_for "$hack_pid" 2
elapsed=$((($(date +%s%N) - start) / 1000000))
echo "window destroyed: the hack ended after $elapsed ms with $rc"
check "destroying the window ends the hack with 0" [ "$rc" = 0 ]
check "... within a second" [ "$elapsed" -lt 1000 ]
check "... quietly" [ ! -s "$T/drawn.err" ]

# killed PID SIGNAL: sends the signal and waits for the end; sets rc, and
# elapsed to the milliseconds it took.
killed() {
    local start
    start=$(date +%s%N)
    kill -s "$2" "$1"
    wait_for "$1" 2
    elapsed=$((($(date +%s%N) - start) / 1000000))
}

# The options every hack takes are taken here too, and change nothing.
for signal in TERM INT; do
    make_window 320 240
    start_hack "sig$signal" -window-id "$window" -model "$MODEL" -install -visual default -mono -no-fps
    check "with -install -visual default -mono -no-fps it draws" settle 15 draws "$window"
    killed "$hack_pid" "$signal"
    echo "SIG$signal while drawing: ended after $elapsed ms with $rc"
    check "SIG$signal ends it with 0" [ "$rc" = 0 ]
    check "... within half a second" [ "$elapsed" -lt 500 ]
    check "... quietly" [ ! -s "$T/sig$signal.err" ]
    "$XWIN" destroy "$window"
done

# SIGTERM while a model of hundreds of megabytes is read (it has the file
# mapped, and has not yet said that it holds no triangles).
check "a large model is written" "$MAKE_HOSTILE" large "$T/large.3ds" 250
make_window 160 120
start_hack large -window-id "$window" -model "$T/large.3ds"
reading() { grep -q "$T/large.3ds" "/proc/$hack_pid/maps" 2>/dev/null; }
for _ in $(seq 1500); do
    reading && break
    sleep 0.02
done
check "the hack reads it" reading
killed "$hack_pid" TERM
echo "SIGTERM while reading a model of $(($(stat -c %s "$T/large.3ds") / 1000000)) MB: ended after $elapsed ms with $rc"
check "SIGTERM during a long model read ends it with 0" [ "$rc" = 0 ]
check "... within half a second" [ "$elapsed" -lt 500 ]
check "... before the read ended" [ ! -s "$T/large.err" ]
rm -f "$T/large.3ds"
"$XWIN" destroy "$window"

# The window vanishing while the hack draws, four at a time, twice:
# destroyed, or gone with the client that made it, or the parent
# of the child the hack made. Every size request the GL driver makes is
# held back and a failed one leaves a size that corrupts the driver's heap
# (late_geometry), so a hack that lets the driver go on once the window is
# gone crashes or hangs here.
stress_start=$SECONDS tries=0 stress_pids=() stress_windows=() stress_holders=()
for _ in 1 2; do
    round=()
    for k in 0 1 2 3; do
        flat=()
        ((RANDOM % 2)) && flat=(flat)
        make_window 160 120 $((k * 170)) 880 "${flat[@]}"
        LD_PRELOAD=$LATE_GEOMETRY ASAN_OPTIONS=verify_asan_link_order=0 start_hack "stress$tries" \
            -window-id "$window" -model "$MODEL"
        stress_pids[tries]=$hack_pid stress_windows[tries]=$window stress_holders[tries]=$window_holder
        round+=("$tries")
        tries=$((tries + 1))
    done
    for try in "${round[@]}"; do
        settle 15 draws "${stress_windows[try]}"
        sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", r / 32768 * 0.1 }')"
        if ((RANDOM % 2)); then "$XWIN" destroy "${stress_windows[try]}"; else kill "${stress_holders[try]}"; fi
    done
    for try in "${round[@]}"; do
        wait_for "${stress_pids[try]}" 3
        check "the window vanished while it drew (try $try): it ends with 0, quietly" \
            eval '[ "$rc" = 0 ] && [ ! -s "$T/stress$try.err" ]'
        [ "$rc" = running ] && kill -9 "${stress_pids[try]}"
    done
done
echo "the window vanished under $tries drawing hacks, in $((SECONDS - stress_start)) s"

# Unmapped or wholly covered, it sleeps; seen again, it draws.
make_window 320 240 0 0
seen=$window
start_hack unseen -window-id "$seen" -model "$MODEL"
settle 15 draws "$seen"
check "seen, it draws (and uses the CPU)" eval '! idle "$hack_pid"'
xdotool windowunmap --sync "$seen"
check "unmapped, it sleeps" idle "$hack_pid"
xdotool windowmap --sync "$seen"
check "mapped again, it draws" settle 5 draws "$seen"
make_window 400 300 0 0
check "wholly covered, it sleeps" idle "$hack_pid"
"$XWIN" destroy "$window"
check "uncovered, it draws" settle 5 draws "$seen"
kill "$hack_pid"
"$XWIN" destroy "$seen"

# A window of a visual the scene cannot draw on (single-buffered, no depth
# buffer): the hack draws on a child of its own over all of it.
make_window 320 240 0 0 flat
start_hack flat -window-id "$window" -model "$MODEL"
one_child_drawn() { [ "$("$XWIN" children "$window")" = 1 ] && draws "$window"; }
check "a window without double buffering or depth gets one child, drawn on" settle 15 one_child_drawn
"$XWIN" resize "$window" 500 400
child_follows() {
    shot "$window" "$T/flat.png" && read -r cx cy bw bh < <(coloured_box "$T/flat.png") && near "$cx" 250 50 &&
        near "$cy" 200 40
}
check "... which follows the window's size" settle 10 child_follows
"$XWIN" destroy "$window"
wait_for "$hack_pid" 2
check "... and ends with 0 when the window goes" [ "$rc" = 0 ]

# -root with the screen saver's window in XSCREENSAVER_WINDOW.
make_window 400 300
XSCREENSAVER_WINDOW=$window start_hack root -root -model "$MODEL"
check "-root draws into the window in XSCREENSAVER_WINDOW" settle 15 draws "$window"
kill "$hack_pid"
wait_for "$hack_pid" 2
check "... and ends with 0" [ "$rc" = 0 ]
"$XWIN" destroy "$window"

# -root alone, on a desktop with a virtual root.
unset XSCREENSAVER_WINDOW
make_window 400 300
"$XWIN" vroot "$window"
start_hack vroot -root -model "$MODEL"
check "-root draws into the desktop's virtual root" settle 15 draws "$window"
kill "$hack_pid"
"$XWIN" destroy "$window"

# Its options: -help, and an unknown one.
"$HACK" -help >"$T/help.out" 2>"$T/help.err"
rc=$?
check "-help prints the usage and ends with 0" eval '[ "$rc" = 0 ] && grep -q "^usage: ondrake" "$T/help.out" && [ ! -s "$T/help.err" ]'
"$HACK" -bogus >"$T/bogus.out" 2>"$T/bogus.err"
rc=$?
check "an unknown option: the usage on standard error, and 1" \
    eval '[ "$rc" = 1 ] && grep -q "^usage: ondrake" "$T/bogus.err" && [ ! -s "$T/bogus.out" ]'

# Its own window: q, Esc and the window manager's close each end it.
for way in q Escape close; do
    start_hack "own$way" -model "$MODEL" -fps
    own=""
    for _ in $(seq 150); do
        own=$(xdotool search --name '^Ondrake$' 2>/dev/null | head -1)
        [ -n "$own" ] && break
        sleep 0.1
    done
    check "its own window appears (-fps, $way)" [ -n "$own" ] || { cat "$T/own$way.err"; continue; }
    if [ "$way" = close ]; then
        # The frame rate, white, in the lower-left corner.
        fps_picture() {
            shot "$own" "$artifacts/hack-own-window.png"
            above "$(brightness "$artifacts/hack-own-window.png" 60x12+0+752)" 0.05
        }
        check "-fps draws the frame rate in the corner" settle 15 fps_picture
        "$XWIN" close "$own"
    else
        xdotool key --window "$own" "$way" 2>/dev/null
    fi
    wait_for "$hack_pid" 3
    check "its own window ends on $way with 0" [ "$rc" = 0 ]
done

# Hostile model files, each in a window of its own (smaller than the trail
# texture, so the small capture is checked too), all at once.
mkdir -p "$T/hostile"
check "the hostile files are written" "$MAKE_HOSTILE" "$T/hostile" "$REGRESSIONS"
mkdir "$T/hostile/a folder.3ds"
mkfifo "$T/hostile/fifo.3ds"
models=("$T"/hostile/*.3ds "$T/hostile/missing.3ds")
declare -A pids windows triangles
slot=0
for model in "${models[@]}"; do
    name=$(basename "$model" .3ds)
    name=${name// /-}
    triangles[$name]=0
    [ -f "$model" ] && triangles[$name]=$("$MODEL_TOOL" info "$model" 2>/dev/null | sed -n 's/^triangles: //p')
    make_window 250 200 $((slot % 5 * 256)) $((slot / 5 * 204))
    windows[$name]=$window
    LP_NUM_THREADS=1 start_hack "hostile-$name" -window-id "${windows[$name]}" -model "$model"
    pids[$name]=$hack_pid
    slot=$((slot + 1))
done
# Each says something once its model is read (or refused).
for _ in $(seq 120); do
    said=0
    for name in "${!pids[@]}"; do [ -s "$T/hostile-$name.err" ] && said=$((said + 1)); done
    [ "$said" = "${#pids[@]}" ] && break
    sleep 0.25
done
sleep 1
import -window root "$artifacts/hack-hostile.png"
for name in "${!pids[@]}"; do
    pid=${pids[$name]}
    alive=yes
    ended "$pid" && alive=no
    check "$name: still running" [ "$alive" = yes ]
    kill "$pid" 2>/dev/null
    wait_for "$pid" 3
    check "$name: ends with 0" [ "$rc" = 0 ]
    err=$T/hostile-$name.err
    check "$name: a message on standard error" [ -s "$err" ]
    check "$name: no sanitizer report" eval '! grep -q "Sanitizer\|runtime error" "$err"'
    if [ "${triangles[$name]:-0}" = 0 ]; then
        shot "${windows[$name]}" "$T/$name.png"
        check "$name: no triangles, a black picture" [ "$(lit "$T/$name.png")" = 0 ]
    fi
done
echo "hostile models: $(ls "$T/hostile" | wc -l) files and a missing one"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
