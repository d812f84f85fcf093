# Sourced: picks the Windows build that Wine can run here, from the build
# root in $1. Sets W (the Wine loader), WINEARCH, DIST, PROBES and
# WINE_ARCH_NOTE; returns 1, with WINE_BUILD_MISSING saying what is
# missing, when that build lacks one of the programs the Wine tests run, so
# that a test fails at once rather than wait for windows that never come.
#
# The shipped programs are 32-bit and run under 32-bit Wine. The x86-64
# build of the same sources runs under 64-bit Wine instead where 32-bit
# Wine is not installed, where the kernel cannot run 32-bit programs
# (32-bit emulation disabled), where the win32 build is missing, or when
# ONDRAKE_WINE_ARCH=win64 asks for it; the note says which.
wine32_error=$(/usr/lib/wine/wine --version 2>&1 >/dev/null) && wine32_error=""
if [ "${ONDRAKE_WINE_ARCH:-}" = win64 ]; then
    wine64_reason="asked for with ONDRAKE_WINE_ARCH=win64"
elif [ ! -x /usr/lib/wine/wine ]; then
    wine64_reason="32-bit Wine, /usr/lib/wine/wine, is not installed"
elif [[ $wine32_error == *"Exec format error"* ]]; then
    wine64_reason="this machine cannot run 32-bit programs: /usr/lib/wine/wine gives Exec format error"
elif [ -n "$wine32_error" ]; then
    wine64_reason="32-bit Wine does not start: ${wine32_error//$'\n'/ }"
elif [ ! -d "$1/win32/dist" ]; then
    wine64_reason="the win32 build is missing ($1/win32/dist)"
else
    wine64_reason=""
fi
if [ -z "$wine64_reason" ]; then
    W=/usr/lib/wine/wine
    export WINEARCH=win32
    DIST=$1/win32/dist PROBES=$1/win32/probes
    WINE_ARCH_NOTE="32-bit build under 32-bit Wine"
else
    W=/usr/lib/wine/wine64
    export WINEARCH=win64
    DIST=$1/win64/dist PROBES=$1/win64/probes
    WINE_ARCH_NOTE="x86-64 build under 64-bit Wine ($wine64_reason)"
fi
WINE_BUILD_MISSING=""
for program in "$DIST"/{Ondrake.scr,Ondrake.dll,Ondrake.3ds} \
    "$PROBES"/{probe.exe,frontend_test.exe,fake_renderer.exe,fake_browser.exe,command_host.exe,preview_hook.dll}; do
    [ -f "$program" ] || WINE_BUILD_MISSING+="${WINE_BUILD_MISSING:+, }${program##*/}"
done
unset wine32_error wine64_reason program
[ -z "$WINE_BUILD_MISSING" ] || {
    WINE_BUILD_MISSING="$WINE_BUILD_MISSING of the $WINEARCH build in $1/$WINEARCH (cmake --build --preset $WINEARCH)"
    return 1
}
