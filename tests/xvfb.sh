# Sourced by the tests that need a display. Needs $T, a folder of the test's.

# start_x_server SERVER [ARGS...]: that X server on the first free display
# number (tests of several checkouts may run at once); exports DISPLAY and
# sets X_SERVER_PID. The server joins the programs a test's cleanup ends
# (see end_background in checks.sh).
start_x_server() {
    local fifo=$T/displayfd.$RANDOM number=""
    mkfifo "$fifo"
    "$@" -displayfd 3 3>"$fifo" >/dev/null 2>&1 &
    X_SERVER_PID=$!
    background+=("$X_SERVER_PID")
    read -r -t 10 number <"$fifo"
    rm -f "$fifo"
    [ -n "$number" ] || return 1
    export DISPLAY=:$number
}

# start_xvfb WxH [ARGS...]: an Xvfb of its own of that size, with more Xvfb
# arguments if given (see start_x_server).
start_xvfb() { start_x_server Xvfb -screen 0 "$1x24" -nolisten tcp "${@:2}"; }

# Pictures of the display's screen.
# shot FILE [WINDOW]: a screenshot of the whole screen, or of that window.
shot() { timeout 20 import -window "${2:-root}" "$1"; }
# pixel FILE X Y: the colour there as RRGGBB.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
# near RRGGBB RRGGBB [TOLERANCE]: colours with every channel within the
# tolerance (6 unless given).
near() {
    local a=$1 b=$2 t=${3:-6} i
    for i in 0 2 4; do
        local d=$((16#${a:i:2} - 16#${b:i:2}))
        ((d < 0)) && d=$((-d))
        ((d <= t)) || return 1
    done
}
# region FILE GEOMETRY FX: an fx expression (mean, maxima ...) over that
# part of the picture.
region() { convert "$1" -crop "$2" +repage -format "%[fx:$3]" info:; }
# saturation FILE GEOMETRY CONVERT-ARGS...: what the convert arguments
# (-format ...) say of the picture's HSL saturation, in that part of it, or
# in all of it with an empty GEOMETRY.
saturation() {
    convert "$1" ${2:+-crop "$2" +repage} -colorspace HSL -channel G -separate +channel "${@:3}" info:
}
# coloured FILE [GEOMETRY]: the share of strongly coloured pixels (HSL
# saturation above 30 %), the model's, in the picture or that part of it.
coloured() { saturation "$1" "${2:-}" -threshold 30% -format "%[fx:mean]"; }
# brightness FILE [GEOMETRY]: the mean grey level, 0 to 1.
brightness() { convert "$1" ${2:+-crop "$2" +repage} -colorspace Gray -format "%[fx:mean]" info:; }
