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
test_folder wine
export WINEDEBUG=-all LANG=en_US.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$T/asound-null.conf"
export ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$T/asound-null.conf

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine_build.sh" "$build_root" || missing "$WINE_BUILD_MISSING"
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"
echo "$2: $WINE_ARCH_NOTE"

wine_cleanup() {
    for prefix in "$T"/pfx*; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
    done
    end_background
    rm -rf "$T"
}
trap wine_cleanup EXIT

# wine_start WxH DIR: an X server of its own (see start_xvfb) and a new
# prefix in DIR, or the test fails here.
wine_start() {
    start_xvfb "$1" || { echo "no Xvfb"; exit 1; }
    wine_make_prefix "$2"
}

# wine_make_prefix DIR: a new prefix whose X11 driver manages no window
# (no window manager here) and where a program that crashes ends at once
# instead of waiting on Wine's crash dialog, with the model folder ready.
# wineboot takes 7-14 s, so a prefix is made once for the build folder,
# Wine architecture, locale and these settings, and copied (under a
# second); the copy leaves out the file that names the wineserver's
# folder, so that it gets a server of its own.
prefix_settings='[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000'
wine_make_prefix() {
    local template=$build_root/wine-prefixes/$WINEARCH-${LANG:-C}
    mkdir -p "${template%/*}"
    (
        flock 8
        [ "$(cat "$template/.made" 2>/dev/null)" = "$prefix_settings" ] && exit 0
        rm -rf "$template"
        export WINEPREFIX=$template
        $W wineboot -i >/dev/null 2>&1
        wine_import_reg <<<"$prefix_settings"
        wineserver -w
        # The user's folders (Desktop, Documents, ...) are links to the
        # home of whoever made the prefix: each copy gets folders of its own.
        find "$template/drive_c/users" -type l -print0 | while read -r -d '' link; do
            rm "$link" && mkdir "$link"
        done
        rm -f "$template/wineserver"
        echo "$prefix_settings" >"$template/.made"
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

# install_saver DIR: the saver's three files, as built, in that folder
# (made if need be), as a user copies them.
install_saver() { mkdir -p "$1" && cp "$DIST/Ondrake.scr" "$DIST/Ondrake.dll" "$DIST/Ondrake.3ds" "$1/"; }

# start_scr ARGS...: runs the saver, $SCR, in the background as scr (see
# start_bg); with WINEDEBUG set by the caller, its trace is $T/scr.err.
SCR='C:\Ondrake\Ondrake.scr'
start_scr() { start_bg scr $W "$SCR" "$@"; }
# mci_sent [TRACE]: the MCI command strings a trace (the saver's, unless
# given) shows, without the opens Wine makes itself for commands on devices
# not yet open.
mci_sent() {
    grep -ao 'mciSendStringW (L"[^"]*\(\\"[^"]*\)*' "${1:-$T/scr.err}" | sed 's/^mciSendStringW (L"//' |
        grep -vE '^open (cdaudio|mp3play) wait$'
}

# wine_run PROGRAM ARGS...: the program's standard output without Wine's
# carriage returns, and its exit code.
wine_run() {
    $W "$@" 2>/dev/null | tr -d '\r'
    return "${PIPESTATUS[0]}"
}
# The probe runs under a locale that every machine has, in which Wine hands
# it titles in any script whole.
probe() { LANG=C.UTF-8 wine_run "$PROBES/probe.exe" "$@"; }
# watch NAME PROBE-ARGUMENTS...: a probe that watches (never, follow,
# lifetime, repaint) run in the background as NAME; returns once it looks.
# watched NAME SECONDS: waits for it to end; sets seen to its answer, or
# to "nothing".
watch() {
    local name=$1
    shift
    LANG=C.UTF-8 start_bg "$name" $W "$PROBES/probe.exe" "$@"
    eventually 20 "grep -q '^watching' '$T/$name.out'"
}
watched() {
    finished "$1" "$2"
    seen=$(tail -1 "$T/$1.out" | tr -d '\r')
    [ "$seen" != watching ] || seen=nothing
}
# start_host NAME W H MS: a probe's "Preview Host" window of that size, as
# the Display control panel gives a preview, run in the background as NAME
# for MS milliseconds at most; returns once it shows, with hwnd set to its
# handle. destroy_host has it destroy its window (WM_USER).
start_host() {
    start_bg "$1" $W "$PROBES/probe.exe" host "$2" "$3" "$4"
    eventually 5 "[ -s '$T/$1.out' ]" && hwnd=$(head -1 "$T/$1.out" | tr -d '\r')
}
destroy_host() { probe post "Preview Host" 1024 0 >/dev/null; }
# info_field NAME INFO: the value of NAME=... in what probe find says of a
# window (class, rect, style, exstyle, visible, parent, client).
info_field() { sed -nE "s/(^|.* )$1=([^ ]*).*/\2/p" <<<"$2"; }

# has_keys TITLE: the window of that title shows and has the keyboard's
# focus, so that keys typed now reach it.
has_keys() {
    local window
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$window" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]
}
# renderer_loops [N]: the renderer sets its title again N times (2 unless
# given), as it does at the end of a frame once a second: it has gone round
# its loop, input first, since the call, so what was typed or posted before
# is handled; and N - 1 seconds at least have passed in the run.
renderer_loops() {
    local window lines=0
    window=$(xdotool search --name '^Sollvane_VC$' 2>/dev/null | head -1)
    [ -n "$window" ] || return 1
    # The title as it is, then as it is set again.
    while ((lines <= ${1:-2})) && read -r _; do lines=$((lines + 1)); done < \
        <(timeout $((${1:-2} + 10)) xprop -id "$window" -spy WM_NAME 2>/dev/null)
    ((lines > ${1:-2}))
}

# The settings dialog. find_dialog waits until it shows, painted, and sets
# cx, cy (its client area's place on the screen), px, py (the panel's) and
# dialog_info (what probe find says of it); the saver started last is still
# running (one that finds a dialog open ends at once). open_dialog [ARG]
# starts it with /c (or ARG) first.
find_dialog() {
    probe wait "<Ondrake>" 15000 >/dev/null && eventually 15 dialog_shown && running scr
}
# dialog_shown: the dialog shows, in its place (it is placed before it is
# shown), with its gradient's middle row (126 at 96 dpi) painted.
dialog_shown() {
    dialog_info=$(probe find "<Ondrake>") && grep -q " visible=1 " <<<"$dialog_info" || return 1
    IFS=, read -r cx cy cw ch < <(info_field client "$dialog_info")
    px=$((cx + 12)) py=$((cy + 16))
    shot "$T/dialog-shown.png" && near "$(pixel "$T/dialog-shown.png" $((cx + 5)) $((cy + ch / 2)))" DCDCFA 2
}
open_dialog() { start_scr "${1:-/c}" && find_dialog; }
# button_rect NAME: the button's left, top, width and height in the
# dialog's client area: set (設定), cancel (ｷｬﾝｾﾙ), etc (その他の作品) or
# file (...). button_centre NAME: its middle on the screen, as "X Y".
# click_button NAME [MOUSE-BUTTON] clicks there.
button_rect() {
    case $1 in
        set) echo 320 200 73 25 ;; cancel) echo 396 200 69 25 ;; etc) echo 192 200 125 25 ;;
        file) echo 48 132 29 21 ;;
    esac
}
button_centre() {
    local l t w h
    read -r l t w h < <(button_rect "$1")
    echo $((cx + l + w / 2)) $((cy + t + h / 2))
}
click_button() { xdotool mousemove $(button_centre "$1") click "${2:-1}"; }
# The button faces' colours, from their ring table: the second ring's top
# row in each state but Disable.
ring_normal=F3F3EE ring_highlight=FFF0CF ring_selected=CEE7FF ring_pressed=003C74
# kind_row KIND: the middle row of that music kind's mark and label in the
# panel: 無し (0), 音楽CD (1) above it, MP3、WAV (2) below.
kind_row() { case $1 in 0) echo 82 ;; 1) echo 62 ;; 2) echo 102 ;; esac; }
# press_kind KIND [X [MOUSE-BUTTON]]: a click on that kind's row, X pixels
# into the panel (45 unless given: on its label; 26 is its mark).
press_kind() { xdotool mousemove $((px + ${2:-45})) $((py + $(kind_row "$1"))) click "${3:-1}"; }
# marked KIND: a new screenshot shows that kind's mark chosen (blue) and
# the others' unchosen.
mark_colour() { pixel "$2" $((px + 26)) $((py + $(kind_row "$1"))); }  # KIND SCREENSHOT: the mark's middle
marked() {
    local file=$T/marks.png kind colour
    shot "$file"
    for kind in 0 1 2; do
        colour=F8F8F8
        [ "$kind" = "$1" ] && colour=2A5BD7
        near "$(mark_colour "$kind" "$file")" "$colour" 12 || return 1
    done
}
# control TEXT: the dialog's child windows (see probe children) whose line
# holds TEXT, such as "ComboBox|" or "|...|".
control() { probe children "<Ondrake>" | grep -F "$1"; }
has_control() { control "$1" >/dev/null; }
enabled() { control "$1" | grep -q 'enabled=1'; }
disabled() { control "$1" | grep -q 'enabled=0'; }
# drawn TEXT: a text drawn by the program (DrawTextEx), as a trace with
# WINEDEBUG=+text in $T/scr.err shows.
drawn() { grep -aqF "DrawTextExW L\"$(wine_debugstr "$1")\"" "$T/scr.err"; }
# The open-file dialog, by the title the program gives it; ready for a
# typed path once its file name box has the focus.
file_dialog=ﾌｧｲﾙを開く
file_dialog_ready() { [ "$(probe focus "$file_dialog" | cut -d'|' -f1)" = Edit ]; }

now_ms() { date +%s%3N; }

winepath_of() { echo "Z:${1//\//\\}"; }
