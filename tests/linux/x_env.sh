# Sourced by the hack's X11 tests: a temporary folder, an Xvfb display of
# its own, the hack's processes, and the check counter.
#
# Sets T (the temporary folder). Call x_start_display WxH; start hacks with
# start_hack, which records them for the cleanup.

T=$(mktemp -d --tmpdir ondrake-x11.XXXXXX)
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
export HOME=$T/home XDG_CACHE_HOME=$T/home/.cache XDG_RUNTIME_DIR=$T/home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Mesa's software rasterizer, whatever the machine has.
export LIBGL_ALWAYS_SOFTWARE=1

background=()
x_cleanup() {
    local i
    # Last started first: the display goes after everything that uses it.
    for ((i = ${#background[@]} - 1; i >= 0; i--)); do kill "${background[i]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$T"
}
trap x_cleanup EXIT

# x_start_display WxH: Xvfb with GLX (see start_xvfb), kept when its last
# client leaves.
x_start_display() {
    start_xvfb "$1" -noreset +extension GLX || return 1
    background+=("$XVFB_PID")
}

# make_window W H [X Y [flat]]: a window held by the xwin probe (in $XWIN);
# sets window to its id and window_holder to the probe's pid.
make_window() {
    local file=$T/window.$RANDOM
    "$XWIN" create "$@" >"$file" &
    window_holder=$!
    background+=($!)
    window=""
    for _ in $(seq 100); do
        window=$(head -1 "$file" 2>/dev/null)
        [ -n "$window" ] && return 0
        sleep 0.05
    done
    return 1
}

# start_hack NAME ARGS...: runs the hack in the background; its pid in
# $hack_pid, its standard error in $T/NAME.err.
start_hack() {
    local name=$1
    shift
    "$HACK" "$@" >"$T/$name.out" 2>"$T/$name.err" &
    hack_pid=$!
    background+=($hack_pid)
}

# ended PID: the process has exited (a zombie until waited for, or gone).
ended() {
    local state
    state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)
    [ -z "$state" ] || [ "$state" = Z ]
}

# wait_for PID SECONDS: waits up to SECONDS (a decimal) for the process to
# end; sets rc to its exit code, or to "running". (Not in a subshell: only
# the shell that started the process can collect its exit code.)
wait_for() {
    local steps
    steps=$(awk -v s="$2" 'BEGIN { printf "%d", s * 20 }')
    for _ in $(seq "$steps"); do
        ended "$1" && break
        sleep 0.05
    done
    if ended "$1"; then
        wait "$1"
        rc=$?
    else
        rc=running
    fi
}

# cpu_ticks PID: the CPU time the process has used, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# idle PID: the process used at most 5 % of a core over the next second.
idle() {
    local before
    before=$(cpu_ticks "$1")
    sleep 1
    [ $(($(cpu_ticks "$1") - before)) -le $(($(getconf CLK_TCK) / 20)) ]
}

# settle SECONDS COMMAND...: runs COMMAND every half second until it
# succeeds or SECONDS have passed (pictures take a while under load).
settle() {
    local seconds=$1
    shift
    for _ in $(seq $((seconds * 2))); do
        "$@" && return 0
        sleep 0.5
    done
    "$@"
}
