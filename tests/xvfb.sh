# Sourced by the tests that need a display. Needs $T, a folder of the test's.

# start_x_server SERVER [ARGS...]: that X server on the first free display
# number (tests of several checkouts may run at once); exports DISPLAY and
# sets X_SERVER_PID.
start_x_server() {
    local fifo=$T/displayfd.$RANDOM number=""
    mkfifo "$fifo"
    "$@" -displayfd 3 3>"$fifo" >/dev/null 2>&1 &
    X_SERVER_PID=$!
    read -r -t 10 number <"$fifo"
    rm -f "$fifo"
    [ -n "$number" ] || return 1
    export DISPLAY=:$number
}

# start_xvfb WxH [ARGS...]: an Xvfb of its own of that size, with more Xvfb
# arguments if given; sets XVFB_PID.
start_xvfb() {
    local size=$1
    shift
    start_x_server Xvfb -screen 0 "${size}x24" -nolisten tcp "$@"
    local started=$?
    XVFB_PID=$X_SERVER_PID
    return $started
}
