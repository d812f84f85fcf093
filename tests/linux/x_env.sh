# Sourced by the hack's X11 tests: a temporary folder, an Xvfb display of
# its own, the hack's processes, and the check counter. Fails (see missing)
# where Xvfb is missing.
#
# Sets T (the temporary folder). Call x_start_display WxH; start hacks with
# start_hack, and other programs with start_bg: the cleanup ends them.

source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
command -v Xvfb >/dev/null || missing "Xvfb"
test_folder x11
# Mesa's software rasterizer, whatever the machine has.
export LIBGL_ALWAYS_SOFTWARE=1

x_cleanup() {
    end_background
    wait 2>/dev/null
    rm -rf "$T"
}
trap x_cleanup EXIT

# x_start_display WxH: Xvfb with GLX (see start_xvfb), kept when its last
# client leaves; or the test fails here.
x_start_display() { start_xvfb "$1" -noreset +extension GLX || { echo "no Xvfb"; exit 1; }; }

# make_window W H [X Y [flat]]: a window held by the xwin probe (in $XWIN);
# sets window to its id and window_holder to the probe's pid.
make_window() { hold_window create "$@"; }
# make_child PARENT W H: a window inside PARENT, at its top left (see
# make_window).
make_child() { hold_window child "$@"; }
hold_window() {
    local name=window$RANDOM
    start_bg "$name" "$XWIN" "$@"
    window_holder=$(pid_of "$name")
    eventually 5 "window=\$(head -1 '$T/$name.out') && [ -n \"\$window\" ]"
}

# start_hack NAME ARGS...: runs the hack in the background as NAME (see
# start_bg).
start_hack() { start_bg "$1" "$HACK" "${@:2}"; }
# own_window SECONDS: waits that long at most for the hack's own window;
# sets own to its id.
own_window() { eventually "$1" 'own=$(xdotool search --name "^Ondrake\$" 2>/dev/null | head -1) && [ -n "$own" ]'; }

# cpu_ticks PID: the CPU time the process has used, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# idle PID: the process uses at most 5 % of a core over one of the next
# three seconds (a frame under way when asked, which takes a while in a
# sanitized build on a busy machine, may end first).
idle() {
    local before try
    for try in 1 2 3; do
        before=$(cpu_ticks "$1")
        sleep 1
        [ $(($(cpu_ticks "$1") - before)) -le $(($(getconf CLK_TCK) / 20)) ] && return 0
    done
    return 1
}
