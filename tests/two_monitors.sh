# Sourced by the tests that need two monitors. Needs $T, a folder of the
# test's. Xvfb gives Wine one monitor whatever its screens; Xorg's dummy
# video driver with two RandR outputs gives it two. Xorg needs root here.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

# The primary monitor at 1280 x 1024 and the second at 1024 x 768 on its
# right, as xrandr --listmonitors shows them.
TWO_MONITORS="DUMMY0 1280x1024+0+0 DUMMY1 1024x768+1280+0"

# start_two_monitors: an Xorg of its own with those two monitors (see
# start_x_server and monitor_places).
start_two_monitors() {
    cat >"$T/xorg.conf" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    DefaultDepth 24
    SubSection "Display"
        Virtual 3000 1200
    EndSubSection
EndSection
CONF
    start_x_server Xorg -noreset -nolisten tcp -config "$T/xorg.conf" -logfile "$T/xorg.log" || return 1
    # The dummy outputs offer 1024 x 768 but not 1280 x 1024.
    xrandr --newmode 1280x1024_60 108.00 1280 1328 1440 1688 1024 1025 1028 1066 +hsync +vsync &&
        xrandr --newmode 1024x768_60 63.50 1024 1072 1176 1328 768 771 775 798 -hsync +vsync &&
        xrandr --addmode DUMMY0 1280x1024_60 && xrandr --addmode DUMMY1 1024x768_60 &&
        xrandr --output DUMMY0 --mode 1280x1024_60 --pos 0x0 --primary \
            --output DUMMY1 --mode 1024x768_60 --right-of DUMMY0 &&
        # Until the outputs are probed again the server still calls the
        # second one disconnected, and Wine would not move it with a mode.
        xrandr --query >/dev/null
}

# monitor_places: each monitor's output and place, "NAME WxH+X+Y", on one
# line. Read from what the server holds (--current): probing the outputs
# again would change what it reports in the middle of a test.
monitor_places() {
    xrandr --current --listmonitors | awk 'NR > 1 { gsub(/\/[0-9]+/, "", $3); printf "%s%s %s", sep, $4, $3; sep = " " }'
}
