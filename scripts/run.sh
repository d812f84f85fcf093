#!/bin/bash
# Sets up, builds, and runs the screen saver (Ondrake.scr /s, which starts
# Ondrake.dll) under Wine, installed as a user would: the three files in one
# folder. Full screen on the current display until Esc, or, with no display,
# for a few seconds on a virtual one, saving a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh
bash scripts/build.sh win32 win64 >/dev/null
source scripts/wine_build.sh "$root/build" || { echo "run: missing $WINE_BUILD_MISSING"; exit 1; }
echo "run: $WINE_ARCH_NOTE"

export WINEPREFIX=$root/build/wine-prefix-$WINEARCH WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

headless=false
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    headless=true
    T=$(mktemp -d /tmp/ondrake-run.XXXXXX)
    source tests/xvfb.sh
    trap 'wineserver -k 2>/dev/null; kill ${X_SERVER_PID:-} 2>/dev/null; rm -rf "$T"' EXIT
    start_xvfb 1024x768
fi

if [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "run: making the Wine prefix $WINEPREFIX"
    $W wineboot -i >/dev/null 2>&1
    wineserver -w
fi
if $headless; then
    # No window manager on the virtual display: let the windows manage
    # themselves, as the saver's full-screen window expects.
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n' |
        iconv -f utf-8 -t utf-16 >"$WINEPREFIX/managed.reg"
    $W regedit /S 'C:\managed.reg' >/dev/null 2>&1
fi
# The three files in one folder, as a user copies them.
app=$WINEPREFIX/drive_c/Ondrake
mkdir -p "$app"
cp "$DIST/Ondrake.scr" "$DIST/Ondrake.dll" "$DIST/Ondrake.3ds" "$app/"

if ! $headless; then
    echo "run: Ondrake.scr /s full screen on $DISPLAY; press Esc to end it"
    set +e
    $W 'C:\Ondrake\Ondrake.scr' /s
    echo "run: Ondrake.scr ended with exit code $?"
    exit 0
fi

mkdir -p build/screenshots
shot=$root/build/screenshots/ondrake.png
echo "run: no display; running Ondrake.scr /s on a virtual 1024 x 768 screen for 6 s"
rm -f "$WINEPREFIX/exit-code"
( $W 'C:\Ondrake\Ondrake.scr' /s; echo $? >"$WINEPREFIX/exit-code" ) &
sleep 6
import -window root "$shot"
xdotool key Escape
for _ in $(seq 100); do [ -s "$WINEPREFIX/exit-code" ] && break; sleep 0.1; done
echo "run: Ondrake.scr ended with exit code $(cat "$WINEPREFIX/exit-code" 2>/dev/null || echo '?') after Esc"
echo "run: screenshot saved to $shot"
