# Sourced by the end-to-end tests: a private Wine environment under one
# temporary folder, an Xvfb display, and the Windows build to test.
#
#   source wine_env.sh BUILD_ROOT NAME
# Fails (see missing) where Wine or Xvfb is missing, and says which
# build NAME runs. Sets T (the temporary folder) and, through wine_build.sh,
# W, DIST, PROBES and WINE_ARCH_NOTE. Call wine_start first.

source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
command -v Xvfb >/dev/null || missing "Xvfb"
[ -x /usr/lib/wine/wine64 ] || missing "Wine (/usr/lib/wine/wine64)"
build_root=$1
T=$(mktemp -d --tmpdir ondrake-wine.XXXXXX)
export HOME=$T/home XDG_CACHE_HOME=$T/home/.cache XDG_RUNTIME_DIR=$T/home/run
export WINEDEBUG=-all LANG=en_US.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$T/asound-null.conf"
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$T/asound-null.conf

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine_build.sh" "$build_root"
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
echo "$2: $WINE_ARCH_NOTE"

displays=()
wine_cleanup() {
    for prefix in "$T"/pfx*; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
    done
    for pid in "${displays[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$T"
}
trap wine_cleanup EXIT

# wine_start WxH DIR: an X server of its own (see start_xvfb) and a new
# prefix in DIR, or the test fails here.
wine_start() {
    start_xvfb "$1" || { echo "no Xvfb"; exit 1; }
    displays+=("$XVFB_PID")
    wine_make_prefix "$2"
}

# wine_make_prefix DIR: a new prefix whose X11 driver manages no window
# (no window manager here), with the model folder ready. wineboot takes
# 7-14 s, so a prefix is made once for the build folder, Wine architecture
# and locale, and copied (under a second); the copy leaves out the file
# that names the wineserver's folder, so that it gets a server of its own.
wine_make_prefix() {
    local template=$build_root/wine-prefixes/$WINEARCH-${LANG:-C}
    mkdir -p "${template%/*}"
    (
        flock 8
        [ -f "$template/.made" ] && exit 0
        rm -rf "$template"
        export WINEPREFIX=$template
        $W wineboot -i >/dev/null 2>&1
        wine_import_reg <<'EOF'
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
EOF
        wineserver -w
        # The user's folders (Desktop, Documents, ...) are links to the
        # home of whoever made the prefix: each copy gets folders of its own.
        find "$template/drive_c/users" -type l -print0 | while read -r -d '' link; do
            rm "$link" && mkdir "$link"
        done
        rm -f "$template/wineserver"
        touch "$template/.made"
    ) 8>"$template.lock"
    cp -a "$template" "$1"
    export WINEPREFIX=$1
    mkdir -p "$WINEPREFIX/drive_c/qorbel"
}


# wine_import_reg: imports the registry entries on standard input (UTF-8,
# without the file's header line) into the prefix.
wine_import_reg() {
    { printf 'Windows Registry Editor Version 5.00\n\n'; cat; } | sed 's/$/\r/' |
        iconv -f utf-8 -t utf-16 >"$T/import.reg"
    $W regedit /S "$(winepath_of "$T/import.reg")" >/dev/null 2>&1
    wineserver -w
}

# wine_japanese_fonts: the Japanese faces the programs ask for, drawn with
# Debian's IPA fonts (message boxes use "MS UI Gothic").
wine_japanese_fonts() {
    wine_import_reg <<'EOF'
[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
EOF
}

# settings_file KIND REPEAT FILE: the saver's settings file as it writes
# it, in code page 932.
settings_file() {
    printf '[Section]\r\nBGM区分=%s\r\nBGMﾘﾋﾟｰﾄ=%s\r\nBGMﾌｧｲﾙ=%s\r\n' "$1" "$2" "$3" | iconv -f utf-8 -t cp932
}

# file_uri WINDOWS-PATH: the file URI, plain ASCII, in which the saver's
# settings file keeps a path that the system's code page cannot hold.
file_uri() {
    local LC_ALL=C path=$1 uri=file:/// c i
    [ "${path:0:2}" = '\\' ] && uri=file:
    for ((i = 0; i < ${#path}; i++)); do
        c=${path:i:1}
        case $c in
            [A-Za-z0-9._~:-]) uri+=$c ;;
            '\') uri+=/ ;;
            *) printf -v c '%%%02X' "'$c" && uri+=$c ;;
        esac
    done
    echo "$uri"
}

# wine_debugstr TEXT: the text as Wine's traces spell a wide string between
# L"...": backslash and quote escaped, every character outside ASCII as
# \xxxx (one for each half of a surrogate pair).
wine_debugstr() {
    local word char text=""
    for word in $(printf '%s' "$1" | iconv -f utf-8 -t utf-16le | od -An -tx2 -v); do
        case $word in
            005c) text+='\\' ;;
            0022) text+='\"' ;;
            00[2-6]? | 007[0-9a-e]) printf -v char '%b' "\\x${word:2}" && text+=$char ;;
            *) text+="\\$word" ;;
        esac
    done
    printf '%s\n' "$text"
}

# start_scr ARGS...: runs the saver, $SCR, in the background; its exit code
# lands in $T/scr-rc and, with WINEDEBUG set by the caller, its trace in
# $T/trace.
SCR='C:\Ondrake\Ondrake.scr'
start_scr() {
    rm -f "$T/scr-rc"
    ( $W "$SCR" "$@" >/dev/null 2>"$T/trace"; echo $? >"$T/scr-rc" ) &
}
# wait_scr SECONDS: waits for it to end; prints its exit code or "running".
wait_scr() {
    local i
    for i in $(seq $(($1 * 20))); do
        [ -s "$T/scr-rc" ] && { cat "$T/scr-rc"; return 0; }
        sleep 0.05
    done
    echo running
}
scr_running() { [ ! -s "$T/scr-rc" ]; }
# The MCI command strings a trace shows, without Wine's own internal opens.
mci_sent() {
    grep -o 'mciSendStringW (L"[^"]*\(\\"[^"]*\)*' "$T/trace" | sed 's/^mciSendStringW (L"//' |
        grep -vE '^open (cdaudio|mp3play) wait$'
}

# wine_run PROGRAM ARGS...: the program's standard output without Wine's
# carriage returns, and its exit code.
wine_run() {
    $W "$@" 2>/dev/null | tr -d '\r'
    return "${PIPESTATUS[0]}"
}
probe() { wine_run "$PROBES/probe.exe" "$@"; }

# Pictures and times.
now_ms() { date +%s%3N; }
shot() { import -window root "$1"; }
# pixel FILE X Y: the colour there as RRGGBB.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
# near RRGGBB RRGGBB [TOLERANCE]: every channel within the tolerance.
near() {
    local a=$1 b=$2 t=${3:-6} i
    for i in 0 2 4; do
        local d=$((16#${a:i:2} - 16#${b:i:2}))
        ((d < 0)) && d=$((-d))
        ((d <= t)) || return 1
    done
}

winepath_of() { echo "Z:${1//\//\\}"; }
