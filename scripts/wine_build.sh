# Sourced: picks the Windows build that Wine can run here, from the build
# root in $1. Sets W (the Wine loader), WINEARCH, DIST, PROBES and
# WINE_ARCH_NOTE.
#
# The shipped programs are 32-bit. Where this machine's kernel cannot run
# 32-bit programs (32-bit emulation disabled), Wine cannot either; then the
# x86-64 build of the same sources runs under 64-bit Wine instead.
# ONDRAKE_WINE_ARCH=win64 takes that path on a machine that could run both.
if [ "${ONDRAKE_WINE_ARCH:-}" != win64 ] && [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -d "$1/win32/dist" ]; then
    W=/usr/lib/wine/wine
    export WINEARCH=win32
    DIST=$1/win32/dist PROBES=$1/win32/probes
    WINE_ARCH_NOTE="32-bit build under 32-bit Wine"
else
    W=/usr/lib/wine/wine64
    export WINEARCH=win64
    DIST=$1/win64/dist PROBES=$1/win64/probes
    if [ "${ONDRAKE_WINE_ARCH:-}" = win64 ]; then
        WINE_ARCH_NOTE="x86-64 build under 64-bit Wine (asked for with ONDRAKE_WINE_ARCH=win64)"
    else
        WINE_ARCH_NOTE="x86-64 build under 64-bit Wine (this machine cannot run 32-bit programs)"
    fi
fi
