#!/bin/bash
# End-to-end tests of Ondrake.scr under Wine on Xvfb, with the three files
# in a folder of the test prefix: the full-screen run and its music, the
# single-instance test, the mode letters, the missing-file messages, the
# preview embedded in a host window, the model copy, and the settings dialog
# with its buttons, also at other display scales. Screenshots go to
# ARTIFACT_DIR.
#   saver_test.sh BUILD_ROOT ARTIFACT_DIR
set -u
source "$(dirname "$0")/wine_env.sh" "$1" saver
artifacts=$2
mkdir -p "$artifacts"

wine_start 1024x768 "$T/pfx"
# Japanese glyphs for the dialog's font, and a browser that writes down the
# address it is asked to open.
wine_japanese_fonts
mkdir -p "$WINEPREFIX/drive_c/probes"
cp "$PROBES/fake_browser.exe" "$WINEPREFIX/drive_c/probes/"
wine_import_reg <<'EOF'
[HKEY_CLASSES_ROOT\https\shell\open\command]
@="C:\\probes\\fake_browser.exe C:\\browser.txt \"%1\""
EOF
wineserver -p </dev/null >/dev/null 2>&1

app=$WINEPREFIX/drive_c/Ondrake
work=$WINEPREFIX/drive_c/qorbel
install_saver "$app"

write_ini() { settings_file "$@" >"$app/Ondrake.ini"; }  # kind, repeat, file

# ---------------------------------------------------------------------------
# The full-screen run with /s: no music.
rm -f "$work/Ondrake.3ds"
start_scr /s
check "/s: the renderer window appears" probe wait Sollvane_VC 15000
check "/s: the run's form is there" probe wait Sollvane_Main 1000
check "/s: the model was copied" cmp -s "$work/Ondrake.3ds" "$app/Ondrake.3ds"
eventually 15 'has_keys Sollvane_VC'
xdotool key a space Return
xdotool mousemove 500 400 mousemove 600 300
check "/s: other keys and mouse moves end nothing" holds 'renderer_loops && running scr'
watch follow follow Sollvane_VC Sollvane_Main 10000
xdotool key Escape
watched follow 15
echo "/s: the front end ended $seen ms after the renderer's window"
check "/s: Esc in the renderer ends the front end, exit code 0" exits scr 10 0
check "/s: the front end follows the renderer within 300 ms" [ "$seen" -lt 300 ] 2>/dev/null
check "/s: the cursor shows again" [ "$(probe cursor)" = showing ]

# A second start while a run is going on ends by itself and shows nothing.
start_scr /s
probe wait Sollvane_VC 15000 >/dev/null
before=$(now_ms)
start_bg second $W "$SCR" /s
check "/s twice: the second start ends by itself with 0" exits second 15 0
echo "/s twice: the second start ended after $(($(now_ms) - before)) ms"
check "/s twice: still one renderer and one run" holds '[ "$(probe count Sollvane_VC)" = 1 ] && [ "$(probe count Sollvane_Main)" = 1 ]'
eventually 15 'has_keys Sollvane_VC'
xdotool key Escape
finished scr 10

# The front end's own cursor, seen in Wine's trace of ShowCursor with a
# stand-in renderer that leaves the cursor alone: hidden for /s and shown
# again at the end, never touched without an argument.
cp "$app/Ondrake.dll" "$T/Ondrake.dll"
cp "$PROBES/fake_renderer.exe" "$app/Ondrake.dll"
shown_cursor() { grep -ao 'NtUserShowCursor [01], count=-\?[0-9]*' "$T/scr.err" | sed 's/NtUserShowCursor //'; }
ONDRAKE_FAKE=exit1 WINEDEBUG=+cursor start_scr /s
finished scr 10
check "/s: the cursor is hidden at the start and shown at the end" \
    [ "$(shown_cursor)" = "$(printf '0, count=-1\n1, count=0')" ]
ONDRAKE_FAKE=exit1 WINEDEBUG=+cursor start_scr
finished scr 10
check "no argument: the cursor is left alone" [ -z "$(shown_cursor)" ]

# Windows ending the session takes the same way out as the renderer's end:
# the music stops and the cursor shows again.
printf 'ID3' >"$app/theme.mp3"
write_ini 2 0 'C:\Ondrake\theme.mp3'
ONDRAKE_FAKE=hang WINEDEBUG=+cursor,+mci start_scr /s
eventually 15 'mci_sent | grep -q "Alias MP3Play$"'
probe post Sollvane_Main 17 0 >/dev/null  # WM_QUERYENDSESSION
check "session end: the front end ends, exit code 0" exits scr 3 0
check "session end: the MP3 is stopped and closed" \
    [ "$(mci_sent | tail -2)" = "$(printf 'stop MP3Play\nclose MP3Play')" ]
check "session end: the cursor shown again" [ "$(shown_cursor | tail -1)" = "1, count=0" ]
rm -f "$app/Ondrake.ini"

# A renderer that fails: one that exits 1 at once, one that never opens a
# window.
before=$(now_ms)
ONDRAKE_FAKE=exit1 start_scr /s
finished scr 10
echo "renderer exits 1 at once: the front end ended after $(($(now_ms) - before)) ms"
check "renderer exits 1 at once: the front end ends with 0" [ "$code" = 0 ]
# Timed by the life of the run's form, made before the renderer starts.
watch lifetime lifetime Sollvane_Main 30000
ONDRAKE_FAKE=hang start_scr /s
watched lifetime 30
echo "renderer never opens a window: the run's form went after $seen ms"
check "renderer never opens a window: the run ends after the 5 s bound" \
    holds 'exits scr 5 0 && [ "$seen" -ge 5000 ] && [ "$seen" -lt 8000 ]'
cp "$T/Ondrake.dll" "$app/Ondrake.dll"

# Each music kind, with the MCI strings the run sends (Wine's trace).
# run_with_music KIND REPEAT FILE PATTERN: an /s run ended by Esc once the
# trace shows PATTERN (if given) and two seconds more of the run have
# passed.
run_with_music() {
    local started=$4
    write_ini "$1" "$2" "$3"
    WINEDEBUG=+timestamp,+mci,+winmm start_scr /s
    eventually 15 'has_keys Sollvane_VC && { [ -z "$started" ] || grep -aq "$started" "$T/scr.err"; }'
    renderer_loops 3
    xdotool key Escape
    finished scr 10
}
run_with_music 1 5 "" 'status cdaudio current track'
sent=$(mci_sent)
check "CD without a disc: opened, polled once, never stopped" \
    [ "$sent" = "$(printf 'open cdaudio\nset cdaudio time format tmsf\nstatus cdaudio current track')" ]

run_with_music 2 0 'C:\Ondrake\theme.mp3' 'Alias MP3Play"'
sent=$(mci_sent)
# The polls' times in the run, in milliseconds.
polls=$(grep -a 'mciSendStringW (L"status MP3Play mode"' "$T/scr.err" | cut -d: -f1 | tr -d .)
gaps=$(awk 'NR > 1 { printf "%s%d", sep, $1 - last; sep = " " } { last = $1 }' <<<"$polls")
echo "MP3: the player polled $(wc -l <<<"$polls") times, at intervals of $gaps ms"
check "MP3: opened with its path" grep -qF 'open \"C:\\Ondrake\\theme.mp3\" type MPEGVideo Alias MP3Play' <<<"$sent"
check "MP3: Timer1 polls it about once a second" \
    holds '[ -n "$gaps" ] && awk "{ for (i = 1; i <= NF; i++) if (\$i < 700 || \$i > 1500) exit 1 }" <<<"$gaps"'
check "MP3: stopped and closed at the end" [ "$(tail -2 <<<"$sent")" = "$(printf 'stop MP3Play\nclose MP3Play')" ]

printf 'RIFF' >"$app/theme.Wav"
run_with_music 2 0 'C:\Ondrake\theme.Wav' MULTIMEDIA_PlaySound
check "WAV: no MCI strings, no polling" [ -z "$(mci_sent)" ]
check "WAV: played by the system, looping (SND_ASYNC | SND_LOOP)" \
    holds 'grep -aq "MULTIMEDIA_PlaySound .* fdwSound=00000009" "$T/scr.err" && grep -aqF "SoundName=L\"C:\\\\Ondrake\\\\theme.Wav\"" "$T/scr.err"'
check "WAV: stopped at the end" grep -aEq "MULTIMEDIA_PlaySound pszSound='0+' hmod=0+ fdwSound=00000000" "$T/scr.err"
printf 'MThd' >"$app/theme.mid"
run_with_music 2 0 'C:\Ondrake\theme.mid' ''
check "MIDI: nothing plays" holds '[ -z "$(mci_sent)" ] && ! grep -aq MULTIMEDIA_PlaySound "$T/scr.err"'
rm -f "$app/Ondrake.ini"

# No argument runs the saver too, and so do -s and /S.
for argument in "" -s /S; do
    start_scr $argument
    check "${argument:-no argument}: the renderer window appears" probe wait Sollvane_VC 15000
    eventually 15 'has_keys Sollvane_VC'
    xdotool key Escape
    check "${argument:-no argument}: Esc ends it" exits scr 10 0
done

# Other letters end silently, after the model copy; an older copy is
# replaced by the newer model.
printf 'an older model' >"$work/Ondrake.3ds"
start_scr /a
check "/a: ends at once with 0" exits scr 5 0
check "/a: the older copy of the model is replaced" cmp -s "$work/Ondrake.3ds" "$app/Ondrake.3ds"
start_scr /x
check "/x: ends at once with 0" exits scr 5 0

# ---------------------------------------------------------------------------
# Missing files: the renderer's message first, then the model's; /p still
# shows the preview.
rm "$app/Ondrake.dll"
for argument in /s /c; do
    start_scr "$argument"
    text=$(probe box "Ondrake (ScreenSaver)" 10000)
    check "renderer missing, $argument: its message" [ "$text" = "Ondrake.dllが同じﾌｫﾙﾀﾞに見つかりません！" ]
    check "renderer missing, $argument: ends after OK" exits scr 5 0
done
rm "$app/Ondrake.3ds"
start_scr /s
check "both missing: the renderer's message" \
    [ "$(probe box "Ondrake (ScreenSaver)" 10000)" = "Ondrake.dllが同じﾌｫﾙﾀﾞに見つかりません！" ]
finished scr 5
cp "$DIST/Ondrake.dll" "$app/"
start_scr /c
check "model missing: its message" \
    [ "$(probe box "Ondrake (ScreenSaver)" 10000)" = "Ondrake.3dsが同じﾌｫﾙﾀﾞに見つかりません！" ]
check "model missing: ends after OK" exits scr 5 0

# The preview, in a host window of the standard size and of another, with
# the handle after a blank and after a colon.
# preview_in_host WIDTH HEIGHT ARGUMENT-FORM: sets child to the host's
# line for the preview's window, looked at again once it is embedded: it is
# sized to its host after it is made the host's child.
preview_in_host() {
    local hwnd
    start_host host "$1" "$2" 20000
    case $3 in
        colon) start_scr "/p:$hwnd" ;;
        # Unsigned above 2^31: 0xFFFF in a handle's high word names the same
        # window, to Windows and to Wine.
        unsigned) start_scr /p $(((hwnd & 0xFFFF) | 0xFFFF0000)) ;;
        *) start_scr /p "$hwnd" ;;
    esac
    eventually 5 'probe children "Preview Host" | grep -q "Preview Window"'
    child=$(probe children "Preview Host" | grep 'Preview Window')
}
# preview_follows WHAT: the preview program ends with 0, timed from the
# moment its host's window went (WHAT was done just before the call).
preview_follows() {
    local from elapsed
    from=$(now_ms)
    exits scr 5 0 || return 1
    elapsed=$(($(now_ms) - from))
    echo "preview: ended $elapsed ms after $1"
    ((elapsed < 1000))
}
rm "$app/Ondrake.dll"
preview_in_host 152 112 blank
echo "preview child: $child"
check "/p HWND (without the renderer and the model): our window is the host's child at (0, 0), 152 x 112" \
    grep -q '|0,0,152,112|enabled=1|visible=1$' <<<"$child"
destroy_host
check "/p: ends within a second of its host window" preview_follows "the host window was destroyed"
finished host 5
cp "$DIST/Ondrake.dll" "$DIST/Ondrake.3ds" "$app/"

preview_in_host 300 200 colon
check "/p:HWND: the child takes a 300 x 200 host's size" grep -q '|0,0,300,200|' <<<"$child"
kill -KILL "$(pid_of host)"
# (The shell's word on the kill, when it collects the host, is not shown.)
check "/p: ends within a second when the host program dies" preview_follows "the host program was killed" 2>/dev/null
finished host 5 2>/dev/null

preview_in_host 152 112 unsigned
destroy_host
check "/p HWND written unsigned above 2^31: embedded as the smaller ones are, and ends with its host" \
    holds 'grep -q "|0,0,152,112|enabled=1|visible=1$" <<<"$child" && exits scr 5 0'
finished host 5

# A handle that names no window, or none at all: nothing to embed in, so
# the program ends at once instead of waiting for a window that never was.
for argument in "/p 12345" /p; do
    start_scr $argument
    check "$argument: no window to embed in ends the program at once" exits scr 3 0
done

# What a child draws into another program's window does not reach the
# screen under Wine, so the still is looked at in a preview of the whole
# screen, the desktop window as its box: scaled to fill it, the model in
# the middle, its grey trail to the left, black corners.
start_scr /p "$(probe desktop)"
probe wait "Preview Window" 5000 >/dev/null
still() {  # FILE: a new screenshot there shows the still so
    local file=$1
    shot "$file" &&
        body=$(region "$file" 300x300+362+234 maxima) trail=$(region "$file" 200x200+60+284 mean) &&
        corner=$(region "$file" 80x80+0+0 maxima) &&
        saturation=$(saturation "$file" 300x300+362+234 -format '%[fx:maxima]') &&
        above "$body" 0.5 && above "$saturation" 0.3 && above "$trail" 0.03 && above 0.1 "$corner"
}
eventually 10 'still "$artifacts/preview-full-screen.png"' 0.5
convert "$artifacts/preview-full-screen.png" -resize 152x112\! "$artifacts/preview-152x112.png"
echo "preview still: body brightness $body, saturation $saturation, trail $trail, corner $corner"
check "/p: the still fills its box, a coloured body in the middle" holds 'above "$body" 0.5 && above "$saturation" 0.3'
check "/p: its grey trail to the left, black in the corner" holds 'above "$trail" 0.03 && above 0.1 "$corner"'
probe close "Preview Window" >/dev/null
check "/p: closing the preview ends the program" exits scr 5 0

# ---------------------------------------------------------------------------
# The settings dialog.
source "$(dirname "$0")/dialog_checks.sh"
source "$(dirname "$0")/dialog_scale_checks.sh"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
