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
command -v convert >/dev/null || missing "ImageMagick"
mkdir -p "$artifacts"

# Bounding box of the coloured pixels (see coloured), as "centre-x
# centre-y width height".
coloured_box() {
    saturation "$1" "" -threshold 30% -format "%@" | awk -F'[x+]' '{ print $3 + $1 / 2, $4 + $2 / 2, $1, $2 }'
}
# centred FILE W H: the model's box in a picture of W x H (sets cx, cy, bw
# and bh, see coloured_box) has its centre within a tenth of each side of
# the picture's.
centred() {
    read -r cx cy bw bh < <(coloured_box "$1")
    within "$cx" $(($2 / 2)) $(($2 / 10)) && within "$cy" $(($3 / 2)) $(($3 / 10))
}
lit() { convert "$1" -format "%[max]" info:; }
# draws WINDOW: the model shows in the window.
draws() {
    shot "$T/draws.png" "$1"
    above "$(coloured "$T/draws.png")" 0.01
}

x_start_display 1280x1024

# A window made here, as a screen saver makes one.
make_window 640 480
start_hack drawn -window-id "$window" -model "$MODEL"
first_picture() {
    shot "$artifacts/hack-640x480.png" "$window"
    c=$(coloured "$artifacts/hack-640x480.png" 320x240+160+120)
    left=$(brightness "$artifacts/hack-640x480.png" 120x480+0+0)
    left_colour=$(coloured "$artifacts/hack-640x480.png" 120x480+0+0)
    centred "$artifacts/hack-640x480.png" 640 480 && above "$c" 0.05 && above "$left" 0.02 && ! above "$left_colour" 0.01
}
eventually 15 first_picture 0.5
echo "640 x 480: coloured centre $c, model box centre ($cx, $cy) size $bw x $bh, left strip brightness $left (coloured $left_colour)"
check "a coloured model around the window's centre" above "$c" 0.05
check "the model box is centred" centred "$artifacts/hack-640x480.png" 640 480
check "a grey trail on the left" eval 'above "$left" 0.02 && ! above "$left_colour" 0.01'

"$XWIN" resize "$window" 1000 700
resized_picture() {
    shot "$artifacts/hack-1000x700.png" "$window"
    left=$(brightness "$artifacts/hack-1000x700.png" 180x700+0+0)
    centred "$artifacts/hack-1000x700.png" 1000 700 && above "$left" 0.02
}
eventually 10 resized_picture 0.5
echo "resized to 1000 x 700: model box centre ($cx, $cy) size $bw x $bh, left strip brightness $left"
check "after a resize the model is centred in the larger window" centred "$artifacts/hack-1000x700.png" 1000 700
check "after a resize the trail still fills the left" above "$left" 0.02

# ended NAME START: waits for that hack to end; sets elapsed to the
# milliseconds from START (date +%s%N) to its exit, and code (see
# finished). Its exit is when its main thread is gone: on a loaded machine
# the kernel may take seconds more to end its other threads and free its
# memory before the exit code can be collected.
ended() {
    eventually 5 "! running $1" 0.02
    elapsed=$((($(date +%s%N) - $2) / 1000000))
    finished "$1" 10
}
# ended_well NAME WHEN MS: once that hack has ended (see ended), says how
# it ended WHEN; it must end with 0, within MS milliseconds and quietly
# (while it reads a model, that is before the read ends: then it says the
# model holds no triangles).
ended_well() {
    echo "$2: the hack ended after $elapsed ms with $code"
    check "$2: it ends with 0" [ "$code" = 0 ]
    check "... within $3 ms" [ "$elapsed" -lt "$3" ]
    check "... quietly" [ ! -s "$T/$1.err" ]
}

"$XWIN" destroy "$window"
ended drawn "$(date +%s%N)"
ended_well drawn "its window destroyed" 1000

# killed NAME SIGNAL: sends the signal to that hack and waits for its end;
# sets code (see finished), and elapsed to the milliseconds it took.
killed() {
    local start
    start=$(date +%s%N)
    kill -s "$2" "$(pid_of "$1")"
    ended "$1" "$start"
}

# The options every hack takes are taken here too, and change nothing.
for signal in TERM INT; do
    make_window 320 240
    start_hack "sig$signal" -window-id "$window" -model "$MODEL" -install -visual default -mono -no-fps
    check "with -install -visual default -mono -no-fps it draws" eventually 15 'draws "$window"' 0.5
    killed "sig$signal" "$signal"
    ended_well "sig$signal" "SIG$signal while it draws" 500
    "$XWIN" destroy "$window"
done

# SIGTERM while a model of hundreds of megabytes is read (it has the file
# mapped, and has not yet said that it holds no triangles).
check "a large model is written" "$MAKE_HOSTILE" large "$T/large.3ds" 250
make_window 160 120
start_hack large -window-id "$window" -model "$T/large.3ds"
# reading NAME: that hack has the model mapped.
reading() { grep -q "$T/large.3ds" "/proc/$(pid_of "$1")/maps" 2>/dev/null; }
check "the hack reads it" eventually 30 "reading large" 0.02
killed large TERM
ended_well large "SIGTERM while it reads a model of $(($(stat -c %s "$T/large.3ds") / 1000000)) MB" 500
"$XWIN" destroy "$window"
# Its window destroyed during the read.
make_window 160 120
start_hack large_gone -window-id "$window" -model "$T/large.3ds"
eventually 30 "reading large_gone" 0.02
"$XWIN" destroy "$window"
ended large_gone "$(date +%s%N)"
ended_well large_gone "its window destroyed while it reads that model" 500
rm -f "$T/large.3ds"

# The window vanishing while the hack draws, four at a time, twice:
# destroyed, or gone with the client that made it, or the parent
# of the child the hack made. Every size request the GL driver makes is
# held back and a failed one leaves a size that corrupts the driver's heap
# (late_geometry), so a hack that lets the driver go on once the window is
# gone crashes or hangs here.
stress_start=$SECONDS tries=0 stress_windows=() stress_holders=()
for _ in 1 2; do
    round=()
    for k in 0 1 2 3; do
        flat=()
        ((RANDOM % 2)) && flat=(flat)
        make_window 160 120 $((k * 170)) 880 "${flat[@]}"
        # (Added to the sanitizer's options, which send its reports to the
        # test's output, rather than in their place.)
        LD_PRELOAD=$LATE_GEOMETRY ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 \
            start_hack "stress$tries" -window-id "$window" -model "$MODEL"
        stress_windows[tries]=$window stress_holders[tries]=$window_holder
        round+=("$tries")
        tries=$((tries + 1))
    done
    for try in "${round[@]}"; do
        eventually 15 'draws "${stress_windows[try]}"' 0.5
        sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", r / 32768 * 0.1 }')"
        if ((RANDOM % 2)); then "$XWIN" destroy "${stress_windows[try]}"; else kill "${stress_holders[try]}"; fi
    done
    for try in "${round[@]}"; do
        finished "stress$try" 3
        check "the window vanished while it drew (try $try): it ends with 0, quietly" \
            eval '[ "$code" = 0 ] && [ ! -s "$T/stress$try.err" ]'
        [ "$code" = running ] && kill -9 "$(pid_of "stress$try")"
    done
done
echo "the window vanished under $tries drawing hacks, in $((SECONDS - stress_start)) s"

# Unmapped or wholly covered, it sleeps; seen again, it draws.
make_window 320 240 0 0
seen=$window
start_hack unseen -window-id "$seen" -model "$MODEL"
eventually 15 'draws "$seen"' 0.5
check "seen, it draws (and uses the CPU)" eval '! idle "$(pid_of unseen)"'
xdotool windowunmap --sync "$seen"
check "unmapped, it sleeps" idle "$(pid_of unseen)"
xdotool windowmap --sync "$seen"
check "mapped again, it draws" eventually 5 'draws "$seen"' 0.5
make_window 400 300 0 0
check "wholly covered, it sleeps" idle "$(pid_of unseen)"
"$XWIN" destroy "$window"
check "uncovered, it draws" eventually 5 'draws "$seen"' 0.5
kill "$(pid_of unseen)"
"$XWIN" destroy "$seen"
# In a window inside another that is unmapped (a preview in a settings
# window that is minimised): X tells the inner window nothing.
make_window 320 240 0 0
outer=$window
make_child "$outer" 320 240
start_hack inner -window-id "$window" -model "$MODEL"
eventually 15 'draws "$window"' 0.5
xdotool windowunmap --sync "$outer"
check "in a window whose parent is unmapped, it sleeps" idle "$(pid_of inner)"
xdotool windowmap --sync "$outer"
check "the parent mapped again, it draws" eventually 5 'draws "$window"' 0.5
kill "$(pid_of inner)"
"$XWIN" destroy "$outer"

# A window of a visual the scene cannot draw on (single-buffered, no depth
# buffer): the hack draws on a child of its own over all of it.
make_window 320 240 0 0 flat
start_hack flat -window-id "$window" -model "$MODEL"
one_child_drawn() { [ "$("$XWIN" children "$window")" = 1 ] && draws "$window"; }
check "a window without double buffering or depth gets one child, drawn on" eventually 15 one_child_drawn 0.5
"$XWIN" resize "$window" 500 400
child_follows() { shot "$T/flat.png" "$window" && centred "$T/flat.png" 500 400; }
check "... which follows the window's size" eventually 10 child_follows 0.5
"$XWIN" destroy "$window"
check "... and ends with 0 when the window goes" exits flat 2 0

# -root with the screen saver's window in XSCREENSAVER_WINDOW, and -root
# alone on a desktop with a virtual root.
unset XSCREENSAVER_WINDOW
for target in "the window in XSCREENSAVER_WINDOW" "the desktop's virtual root"; do
    make_window 400 300
    if [ "$target" = "the desktop's virtual root" ]; then
        "$XWIN" vroot "$window"
        start_hack root -root -model "$MODEL"
    else
        XSCREENSAVER_WINDOW=$window start_hack root -root -model "$MODEL"
    fi
    check "-root draws into $target" eventually 15 'draws "$window"' 0.5
    kill "$(pid_of root)"
    check "... and ends with 0" exits root 2 0
    "$XWIN" destroy "$window"
done

# Its options: -help, and an unknown one.
# option_ends OPTION CODE STREAM OTHER: the usage on STREAM (out or err),
# nothing on OTHER, and that exit code.
option_ends() {
    "$HACK" "$1" >"$T/option.out" 2>"$T/option.err"
    [ $? = "$2" ] && grep -q "^usage: ondrake" "$T/option.$3" && [ ! -s "$T/option.$4" ]
}
check "-help prints the usage and ends with 0" option_ends -help 0 out err
check "an unknown option: the usage on standard error, and 1" option_ends -bogus 1 err out

# Its own window: q, Esc and the window manager's close each end it.
for way in q Escape close; do
    start_hack "own$way" -model "$MODEL" -fps
    own=""
    check "its own window appears (-fps, $way)" own_window 15 || { cat "$T/own$way.err"; continue; }
    if [ "$way" = close ]; then
        # The frame rate, white, in the lower-left corner.
        fps_picture() {
            shot "$artifacts/hack-own-window.png" "$own"
            above "$(brightness "$artifacts/hack-own-window.png" 60x12+0+752)" 0.05
        }
        check "-fps draws the frame rate in the corner" eventually 15 fps_picture 0.5
        "$XWIN" close "$own"
    else
        xdotool key --window "$own" "$way" 2>/dev/null
    fi
    check "its own window ends on $way with 0" exits "own$way" 3 0
done

# Hostile model files, each in a window of its own (smaller than the trail
# texture, so the small capture is checked too), all at once.
mkdir -p "$T/hostile"
made=$("$MAKE_HOSTILE" "$T/hostile" "$REGRESSIONS")
expect "the hostile files are written" 0 $?
regressions=$(compgen -G "$REGRESSIONS/*.hex" | wc -l)
check "they are the reader's hostile files and the $regressions fuzzer inputs ($made)" \
    [ "${made% models}" -gt "$regressions" ]
expect "the fuzzer's inputs are among them" "$regressions" "$(compgen -G "$T/hostile/fuzz-*.3ds" | wc -l)"
mkdir "$T/hostile/a folder.3ds"
mkfifo "$T/hostile/fifo.3ds"
models=("$T"/hostile/*.3ds "$T/hostile/missing.3ds")
declare -A windows triangles worked
slot=0
for model in "${models[@]}"; do
    name=$(basename "$model" .3ds)
    name=${name// /-}
    triangles[$name]=0
    [ -f "$model" ] && triangles[$name]=$("$MODEL_TOOL" info "$model" 2>/dev/null | sed -n 's/^triangles: //p')
    make_window 250 200 $((slot % 5 * 256)) $((slot / 5 * 204))
    windows[$name]=$window
    LP_NUM_THREADS=1 start_hack "hostile-$name" -window-id "${windows[$name]}" -model "$model"
    slot=$((slot + 1))
done
# Each says something once its model is read (or refused), then goes on
# drawing: it uses the processor for a tenth of a second more.
all_said() {
    local name
    for name in "${!windows[@]}"; do [ -s "$T/hostile-$name.err" ] || return 1; done
}
eventually 30 all_said 0.25
for name in "${!windows[@]}"; do worked[$name]=$(cpu_ticks "$(pid_of "hostile-$name")" 2>/dev/null); done
all_worked() {
    local name
    for name in "${!windows[@]}"; do
        running "hostile-$name" || continue
        (($(cpu_ticks "$(pid_of "hostile-$name")") - ${worked[$name]:-0} >= $(getconf CLK_TCK) / 10)) || return 1
    done
}
eventually 30 all_worked 0.25
shot "$artifacts/hack-hostile.png"
for name in "${!windows[@]}"; do
    check "$name: still running" running "hostile-$name"
    kill "$(pid_of "hostile-$name")" 2>/dev/null
    check "$name: ends with 0" exits "hostile-$name" 3 0
    err=$T/hostile-$name.err
    check "$name: a message on standard error" [ -s "$err" ]
    if [ "${triangles[$name]:-0}" = 0 ]; then
        shot "$T/$name.png" "${windows[$name]}"
        check "$name: no triangles, a black picture" [ "$(lit "$T/$name.png")" = 0 ]
    fi
done
# Every file written was run, and the folder, the pipe and the missing
# file besides (isolate.sh shows any sanitizer report and fails the test).
expect "every model the generator made was run" "$((${made% models} + 3))" "${#windows[@]}"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
