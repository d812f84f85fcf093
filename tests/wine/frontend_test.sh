#!/bin/bash
# The front end's foundation under Wine on Xvfb: the runtime layer, the
# settings file and the music player against the real Windows functions,
# and the saver installed in folders of any name, under a code page 1252
# and a Japanese locale, and a preview whose host window goes just before
# the preview is embedded in it.
#   frontend_test.sh BUILD_ROOT
set -u
source "$(dirname "$0")/wine_env.sh" "$1" frontend
# Code page 1252 from a locale that every machine has (Wine cannot start a
# program from a folder named outside ASCII under one that is missing).
export LANG=C.UTF-8

wine_start 1024x768 "$T/pfx"
run() { wine_run 'C:\Ondrake\frontend_test.exe' "$@"; }
# frontend_checks LOCALE: the program in C:\Ondrake of the current prefix
# (app), and its in-process checks, with their files in C:\Ondrake\work.
frontend_checks() {
    app=$WINEPREFIX/drive_c/Ondrake
    mkdir -p "$app/work"
    cp "$PROBES/frontend_test.exe" "$app/"
    run_checks "checks under $1" run checks 'C:\Ondrake\work'
}
drive_c() { local path=${1#C:\\}; echo "$WINEPREFIX/drive_c/${path//\\//}"; }  # WINDOWS-PATH
# finish SECONDS: waits for the saver to end and sets code (see
# finished); a message box it shows ("Ondrake.dll ... not found") is
# answered and a dialog it leaves open closed, so that what follows starts
# afresh.
finish() {
    finished scr "$1" && return
    probe box "Ondrake (ScreenSaver)" 1000 >/dev/null
    probe close "<Ondrake>" >/dev/null
}
# full_screen_run LOCALE FOLDER MUSIC CHANNEL: /s from the folder, with
# the music file in its settings (kept as a file URI); ended by Esc; the
# trace of that Wine channel kept.
full_screen_run() {
    settings_file 2 0 "$(file_uri "$3")" >"$(drive_c "$2")/Ondrake.ini"
    SCR="$2\Ondrake.scr" WINEDEBUG=$4 start_scr /s
    check "$1, /s from $2: the renderer's window appears" probe wait Sollvane_VC 15000
    eventually 15 'has_keys Sollvane_VC'
    xdotool key Escape
    finish 10
}
# start_unquoted FILE ARGUMENTS: runs the program with the command line
# FILE ARGUMENTS, its path unquoted, as Windows starts a saver from a long
# path on a volume without short names; like start_scr.
start_unquoted() { start_bg scr $W 'C:\Ondrake\frontend_test.exe' start "$1" "$1 $2"; }

# The saver installed in folders whose names the system's code page cannot
# hold: Ukrainian, with a blank (і is in neither code page 1252 nor 932),
# and a Japanese family name (𠮷 is outside code page 932). The modes that
# look for the renderer beside the program run from there, the music beside
# it plays and shows, and the settings file keeps its code page 932 keys.
#   any_folder_checks LOCALE
any_folder_checks() {
    local locale=$1 cyr='C:\Програмні файли\Ondrake' jp='C:\𠮷田のプログラム' folder code
    for folder in "$cyr" "$jp"; do install_saver "$(drive_c "$folder")"; done
    local mp3="$cyr\пісня.mp3" wav="$jp\曲.wav"
    printf 'ID3' >"$(drive_c "$mp3")"
    printf 'RIFF' >"$(drive_c "$wav")"

    rm -f "$WINEPREFIX/drive_c/qorbel/Ondrake.3ds"
    SCR="$cyr\Ondrake.scr" start_scr /a
    finish 10
    check "$locale, /a from $cyr: ends at once with 0" [ "$code" = 0 ]
    check "$locale, /a from $cyr: the model is copied to C:\qorbel" \
        cmp -s "$WINEPREFIX/drive_c/qorbel/Ondrake.3ds" "$DIST/Ondrake.3ds"

    full_screen_run "$locale" "$cyr" "$mp3" +mci
    check "$locale, /s from $cyr: its MP3 opened with its path" \
        grep -qF "open \\\"$(wine_debugstr "$mp3")\\\" type MPEGVideo Alias MP3Play" <(mci_sent)
    full_screen_run "$locale" "$jp" "$wav" +winmm
    check "$locale, /s from $jp: its WAV played by the system with its path" \
        grep -aqF "SoundName=L\"$(wine_debugstr "$wav")\"" "$T/scr.err"

    # Started from its long path unquoted, blanks and all: the mode letter is
    # still found. The dialog shows the music file; "設定" writes the
    # settings as they were read (a repeat of 3.0 as 3), the path as before.
    settings_file 2 3.0 "$(file_uri "$mp3")" >"$(drive_c "$cyr")/Ondrake.ini"
    WINEDEBUG=+text start_unquoted "$cyr\Ondrake.scr" /c
    check "$locale, /c from $cyr started unquoted: the dialog opens" find_dialog && click_button set
    finish 10
    check "$locale, /c from $cyr: 設定 ends it with 0" [ "$code" = 0 ]
    check "$locale, /c from $cyr: the dialog shows the music file's path" drawn "$mp3"
    check "$locale, /c from $cyr: 設定 writes the settings file, its keys in code page 932, the path whole" \
        cmp -s "$(drive_c "$cyr")/Ondrake.ini" <(settings_file 2 3 "$(file_uri "$mp3")")
}

# Code page 1252.
frontend_checks "code page 1252"
check "argument text drops the program path" [ "$(run args /S 123)" = "[args /S 123]" ]
check "program folder" [ "$(run folder)" = 'C:\Ondrake' ]
cp "$PROBES/frontend_test.exe" "$WINEPREFIX/drive_c/"
check "program folder at a drive root keeps its backslash" \
    [ "$(wine_run 'C:\frontend_test.exe' folder)" = 'C:\' ]

run unload 'C:\Ondrake\work' >/dev/null
check "unloading a form runs its unload handler" [ -e "$app/work/unloaded.txt" ]
rm -f "$app/work/unloaded.txt"
run end 'C:\Ondrake\work' >/dev/null
check "ending the program: exit code 0" [ $? = 0 ]
check "ending the program runs no unload handler" [ ! -e "$app/work/unloaded.txt" ]

# The preview's host window gone between the program's look at it and the
# embedding (the hook has it destroyed while the preview form is made): the
# preview ends at once instead of staying on the desktop for good.
cp "$DIST/Ondrake.scr" "$PROBES/preview_hook.dll" "$app/"
start_host host 152 112 20000
start_bg hook $W rundll32 'C:\Ondrake\preview_hook.dll,Install' 20000
probe wait "Preview Hook" 10000 >/dev/null
before=$(now_ms)
start_scr /p "$hwnd"
finished scr 5
elapsed=$(($(now_ms) - before))
check "preview host gone before the embedding: its window was taken away" [ "$(probe count "Preview Host")" = 0 ]
check "preview host gone before the embedding: the preview ends at once, exit code 0 ($elapsed ms)" [ "$code" = 0 ]
kill "$(pid_of hook)" "$(pid_of host)" 2>/dev/null
probe close "Preview Window" >/dev/null  # one left behind
finished hook 5
finished host 5
finished scr 5

# Music with the real winmm: no CD drive here, ALSA's null device as the
# sound card, a music file that does not exist. It stays silent, never
# stops the caller, and sends exactly these MCI strings.
WINEDEBUG=+mci $W 'C:\Ondrake\frontend_test.exe' music 'C:\Ondrake\No Such Song.mp3' >"$T/music.txt" 2>&1
check "music run returns to its caller" grep -aq "^music done" "$T/music.txt"
check "no CD drive: the poll gives up" grep -aq "^CdActive=0" "$T/music.txt"
sent=$(mci_sent "$T/music.txt")
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
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv=d" \
    $W 'C:\Ondrake\frontend_test.exe' music 'C:\Ondrake\theme.wav' >"$T/music.txt" 2>&1
check "no sound card: the music run returns to its caller" grep -aq "^music done" "$T/music.txt"

any_folder_checks "code page 1252"

# The file chosen in the open-file dialog from a folder that the code page
# cannot hold (the dialog opens in the current folder), no settings file
# before: kept whole in the path box and in the settings file.
install_saver "$app"
rm -f "$app/Ondrake.ini"
chosen='C:\𠮷田のプログラム\theme.wav'
printf 'RIFF' >"$(drive_c "$chosen")"
cd "$(drive_c 'C:\𠮷田のプログラム')"
WINEDEBUG=+text start_scr /c
cd - >/dev/null
if check "the file choice: the dialog opens" find_dialog; then
    press_kind 2 50
    eventually 3 'enabled "|...|"'
    click_button file
    check "the file choice: the open-file dialog opens" eventually 10 'probe find "$file_dialog" >/dev/null'
    eventually 5 file_dialog_ready
    xdotool type theme.wav
    xdotool key Return
    eventually 5 '! probe find "$file_dialog" >/dev/null'
    check "the file choice: the path box shows it whole" eventually 3 'drawn "$chosen"'
    click_button set
    finish 10
    check "the file choice: 設定 ends it with 0" [ "$code" = 0 ]
fi
finish 10
check "the file choice: 設定 keeps the chosen path whole" cmp -s "$app/Ondrake.ini" <(settings_file 2 0 "$(file_uri "$chosen")")

# Its long path unquoted, with blanks: the mode letter is still found.
programs='C:\Program Files\Ondrake'
install_saver "$(drive_c "$programs")"
start_unquoted "$programs\Ondrake.scr" /c
check "/c started from $programs unquoted: the dialog opens" find_dialog
probe close "<Ondrake>" >/dev/null
finish 10

# Japanese locale (code page 932): the same checks, texts and INI bytes.
mkdir -p "$T/locale"
if localedef -i ja_JP -f UTF-8 "$T/locale/ja_JP.UTF-8" 2>/dev/null || [ -d "$T/locale/ja_JP.UTF-8" ]; then
    wineserver -k
    export LOCPATH=$T/locale LANG=ja_JP.UTF-8
    wine_make_prefix "$T/pfx-ja"
    frontend_checks ja_JP

    # The saver in a folder whose name ends in a character whose second byte
    # is a backslash (能: 0x94 0x5C), with a music file named so: its
    # settings file is found in that folder, and so is the music file (the
    # dialog marks "MP3、WAV"); "設定" writes the settings file there.
    folder=$WINEPREFIX/drive_c/機能
    install_saver "$folder"
    printf 'ID3' >"$folder/能"
    # A repeat of 7.0, which "設定" writes as 7.
    settings_file 2 7.0 'C:\機能\能' >"$folder/Ondrake.ini"
    SCR='C:\機能\Ondrake.scr' open_dialog
    check "a folder ending in 能: the settings and the music file named 能 are found (MP3、WAV marked)" \
        eventually 3 'marked 2'
    click_button set
    finish 10
    check "a folder ending in 能: 設定 ends it with 0" [ "$code" = 0 ]
    check "a folder ending in 能: 設定 writes the settings file in it" cmp -s "$folder/Ondrake.ini" <(settings_file 2 7 'C:\機能\能')
    check "a folder ending in 能: nothing written beside it" [ ! -e "$WINEPREFIX/drive_c/機能Ondrake.ini" ]

    any_folder_checks Japanese
else
    echo "FAIL: cannot make the ja_JP locale"
    failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
