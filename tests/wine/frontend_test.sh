#!/bin/bash
# The front end's foundation under Wine on Xvfb: the runtime layer, the
# settings file and the music player against the real Windows functions,
# under an English and a Japanese locale.
#   frontend_test.sh BUILD_ROOT
set -u
source "$(dirname "$0")/wine_env.sh" "$1" frontend

wine_start 1024x768 "$T/pfx"
app=$WINEPREFIX/drive_c/Ondrake
mkdir -p "$app/work"
cp "$PROBES/frontend_test.exe" "$app/"
run() { wine_run 'C:\Ondrake\frontend_test.exe' "$@"; }

# English locale (code page 1252).
out=$(run checks 'C:\Ondrake\work')
status=$?
grep FAIL <<<"$out"
count_checks "$out" "checks under en_US" "$status"
check "argument text drops the program path" [ "$(run args /S 123)" = "[args /S 123]" ]
check "program folder" [ "$(run folder)" = 'C:\Ondrake' ]
cp "$PROBES/frontend_test.exe" "$WINEPREFIX/drive_c/"
check "program folder at a drive root keeps its backslash" \
    [ "$($W 'C:\frontend_test.exe' folder 2>/dev/null | tr -d '\r')" = 'C:\' ]

$W 'C:\Ondrake\frontend_test.exe' unload 'C:\Ondrake\work' >/dev/null 2>&1
check "unloading a form runs its unload handler" [ -e "$app/work/unloaded.txt" ]
rm -f "$app/work/unloaded.txt"
$W 'C:\Ondrake\frontend_test.exe' end 'C:\Ondrake\work' >/dev/null 2>&1
check "ending the program: exit code 0" [ $? = 0 ]
check "ending the program runs no unload handler" [ ! -e "$app/work/unloaded.txt" ]

# Music with the real winmm: no CD drive here, ALSA's null device as the
# sound card, a music file that does not exist. It stays silent, never
# stops the caller, and sends exactly these MCI strings.
trace=$(WINEDEBUG=+mci $W 'C:\Ondrake\frontend_test.exe' music 'C:\Ondrake\No Such Song.mp3' 2>&1 | tr -d '\r')
check "music run returns to its caller" grep -q "^music done" <<<"$trace"
check "no CD drive: the poll gives up" grep -q "^CdActive=0" <<<"$trace"
# (Wine opens devices of its own for commands on devices not yet open.)
sent=$(grep -o 'mciSendStringW (L"[^"]*\(\\"[^"]*\)*' <<<"$trace" | sed 's/^mciSendStringW (L"//' |
    grep -vE '^open (cdaudio|mp3play) wait$')
echo "MCI strings sent:"
sed 's/^/  /' <<<"$sent"
expected='open cdaudio
set cdaudio time format tmsf
status cdaudio current track
stop cdaudio
close cdaudio
open \"C:\\Ondrake\\No Such Song.mp3\" type MPEGVideo Alias MP3Play
status MP3Play mode
stop MP3Play
play MP3Play from 0
stop MP3Play
close MP3Play'
check "the MCI strings, in order" [ "$sent" = "$expected" ]

# No sound card at all (Wine's audio driver off): still silent, still back.
trace=$(WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv=d" \
    $W 'C:\Ondrake\frontend_test.exe' music 'C:\Ondrake\theme.wav' 2>&1 | tr -d '\r')
check "no sound card: the music run returns to its caller" grep -q "^music done" <<<"$trace"

# Japanese locale (code page 932): the same checks, texts and INI bytes.
mkdir -p "$T/locale"
if localedef -i ja_JP -f UTF-8 "$T/locale/ja_JP.UTF-8" 2>/dev/null || [ -d "$T/locale/ja_JP.UTF-8" ]; then
    wineserver -k
    export LOCPATH=$T/locale LANG=ja_JP.UTF-8
    wine_make_prefix "$T/pfx-ja"
    app=$WINEPREFIX/drive_c/Ondrake
    mkdir -p "$app/work"
    cp "$PROBES/frontend_test.exe" "$app/"
    out=$(run checks 'C:\Ondrake\work')
    status=$?
    grep FAIL <<<"$out"
    count_checks "$out" "checks under ja_JP" "$status"

    # The saver in a folder whose name ends in a character whose second byte
    # is a backslash (能: 0x94 0x5C), with a music file named so: its
    # settings file is found in that folder, and so is the music file (the
    # dialog marks "MP3、WAV"); "設定" writes the settings file there.
    folder=$WINEPREFIX/drive_c/機能
    mkdir -p "$folder"
    cp "$DIST/Ondrake.scr" "$DIST/Ondrake.dll" "$DIST/Ondrake.3ds" "$folder/"
    printf 'ID3' >"$folder/能"
    settings_file 2 7 'C:\機能\能' >"$folder/Ondrake.ini"
    ( $W 'C:\機能\Ondrake.scr' /c >/dev/null 2>&1; echo $? >"$T/scr-rc" ) &
    probe wait "<Ondrake>" 15000 >/dev/null
    sleep 0.8
    read -r cx cy < <(probe find "<Ondrake>" | sed -E 's/.* client=([-0-9]+),([-0-9]+),.*/\1 \2/')
    shot "$T/ja-dialog.png"
    check "a folder ending in 能: the settings and the music file named 能 are found (MP3、WAV marked)" \
        near "$(pixel "$T/ja-dialog.png" $((cx + 12 + 26)) $((cy + 16 + 96 + 6)))" 2A5BD7 12
    xdotool mousemove $((cx + 356)) $((cy + 212)) click 1
    for _ in $(seq 100); do [ -s "$T/scr-rc" ] && break; sleep 0.1; done
    check "a folder ending in 能: 設定 writes the settings file in it" cmp -s "$folder/Ondrake.ini" <(settings_file 2 7 'C:\機能\能')
    check "a folder ending in 能: nothing written beside it" [ ! -e "$WINEPREFIX/drive_c/機能Ondrake.ini" ]
else
    echo "FAIL: cannot make the ja_JP locale"
    failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
