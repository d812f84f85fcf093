#!/bin/bash
# The installed hack under a real xscreensaver on Xvfb: in its program
# list, it runs and draws when the saver activates, and ends when it
# deactivates.
#   xscreensaver_test.sh BUILD_DIR ARTIFACTS
set -u
build=$1 artifacts=$2
source "$(dirname "$0")/x_env.sh"
for tool in Xvfb xscreensaver xscreensaver-command convert; do
    command -v "$tool" >/dev/null || missing "$tool"
done
mkdir -p "$artifacts"
x_start_display 1024x768 || { echo "no Xvfb"; exit 1; }

cmake --install "$build" --prefix "$T/prefix" >/dev/null || { echo "cmake --install failed"; exit 1; }
hack=$T/prefix/libexec/xscreensaver/ondrake
check "installed: the hack, its settings and its model" \
    test -x "$hack" -a -f "$T/prefix/share/xscreensaver/config/ondrake.xml" -a -f "$T/prefix/share/ondrake/Ondrake.3ds"

# No -model: the hack finds the model installed beside it.
cat >"$HOME/.xscreensaver" <<END
timeout: 1:00:00
cycle: 0
lock: False
splash: False
fade: False
unfade: False
mode: one
selected: 0
programs: GL: "Ondrake" $hack --root \n
END

# xscreensaver runs no hacks as root: there it runs as nobody.
as_user=()
if [ "$(id -u)" = 0 ]; then
    chmod 755 "$T"
    chown -R nobody:nogroup "$HOME"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
"${as_user[@]}" xscreensaver -no-splash -verbose >"$T/xscreensaver.log" 2>&1 &
background+=($!)
for _ in $(seq 100); do
    xscreensaver-command -time >/dev/null 2>&1 && break
    sleep 0.1
done

xscreensaver-command -activate >/dev/null 2>&1
pid=""
for _ in $(seq 200); do
    pid=$(pgrep -f "^$hack" | head -1)
    [ -n "$pid" ] && break
    sleep 0.1
done
check "activating the saver runs our hack" [ -n "$pid" ]
saver_picture() {
    import -window root "$artifacts/xscreensaver.png"
    coloured=$(convert "$artifacts/xscreensaver.png" -crop 400x400+312+184 +repage -colorspace HSL -channel G \
        -separate +channel -threshold 30% -format "%[fx:mean]" info:)
    left=$(convert "$artifacts/xscreensaver.png" -crop 200x768+0+0 +repage -colorspace Gray -format "%[fx:mean]" info:)
    above "$coloured" 0.05 && above "$left" 0.01
}
settle 15 saver_picture
echo "under xscreensaver: coloured centre $coloured, left strip brightness $left"
check "it draws the model at the screen's centre" above "$coloured" 0.05
check "and the trail" above "$left" 0.01

xscreensaver-command -deactivate >/dev/null 2>&1
gone=no
for _ in $(seq 50); do
    [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null && { gone=yes; break; }
    sleep 0.1
done
check "deactivating the saver ends our hack" [ "$gone" = yes ]
check "the hack said nothing (model found, no sanitizer report)" eval '! grep -E "^ondrake:|Sanitizer|runtime error" "$T/xscreensaver.log"'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
