# Sourced by the tests that need a display. Needs $T, a folder of the test's.

# start_xvfb WxH [ARGS...]: an Xvfb of its own on the first free display
# number (tests of several checkouts may run at once), with more Xvfb
# arguments if given; exports DISPLAY and sets XVFB_PID.
start_xvfb() {
    local size=$1 fifo=$T/displayfd.$RANDOM number=""
    shift
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$@" 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 10 number <"$fifo"
    rm -f "$fifo"
    [ -n "$number" ] || return 1
    export DISPLAY=:$number
}
