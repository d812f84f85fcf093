#!/bin/bash
# End-to-end tests of OndrakeSetup.exe under Wine on Xvfb, in a fresh
# prefix: a silent install into the user's programs folder, the saver it
# selects running from there, the settings file kept over a second
# install, the uninstaller with another saver selected and with ours, a
# folder whose name needs a short form, and the finish page's offer to open
# the settings.
#   installer_test.sh BUILD_ROOT
set -u
source "$(dirname "$0")/wine_env.sh" "$1" installer

# reg_value KEY NAME: the value's data; nothing when it is not there.
reg_value() { $W reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
reg_key_exists() { $W reg query "$1" >/dev/null 2>&1; }
unix_path() { $W winepath -u "$1" 2>/dev/null | tr -d '\r'; }

wine_start 1024x768 "$T/pfx"
wineserver -p </dev/null >/dev/null 2>&1

setup=$(winepath_of "$DIST/OndrakeSetup.exe")
desktop='HKCU\Control Panel\Desktop'
listing='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondrake'
work=$WINEPREFIX/drive_c/qorbel
programs=(Ondrake.scr Ondrake.dll Ondrake.3ds)
as_built() {  # folder: the three programs there are the ones just built
    local file
    for file in "${programs[@]}"; do cmp -s "$DIST/$file" "$1/$file" || return 1; done
}
none_left() {  # folder: none of what the installer or the saver put there
    local file
    for file in "${programs[@]}" Ondrake.ini Uninstall.exe; do [ ! -e "$1/$file" ] || return 1; done
}
# uninstall WINDOWS-FOLDER: runs its uninstaller silently. It copies itself away
# and returns at once; the listing goes last, when it has finished.
uninstall() {
    $W "$1\\Uninstall.exe" /S >/dev/null 2>&1
    eventually 15 '! reg_key_exists "$listing"'
}
# start_scr PATH ARGS...: runs a saver in the background; its exit code
# lands in $T/scr-rc.
start_scr() {
    rm -f "$T/scr-rc"
    ( $W "$@" >/dev/null 2>&1; echo $? >"$T/scr-rc" ) &
}
scr_code() { eventually "$1" '[ -s "$T/scr-rc" ]' && cat "$T/scr-rc"; }

# ---------------------------------------------------------------------------
# A silent install, for the current user.
before=$(date +%s%3N)
$W "$setup" /S >/dev/null 2>&1
code=$?
echo "/S: installed in $(($(date +%s%3N) - before)) ms"
check "/S: the installer ends with 0" [ "$code" = 0 ]
folder_win=$($W cmd /c 'echo %LOCALAPPDATA%\Programs\Ondrake' 2>/dev/null | tr -d '\r')
folder=$(unix_path "$folder_win")
echo "/S: the user's programs folder is $folder_win"
check "/S: the three programs, as built, in the user's programs folder" as_built "$folder"
check "/S: the uninstaller beside them" [ -f "$folder/Uninstall.exe" ]
check "/S: the programs list says where it installed" [ "$(reg_value "$listing" InstallLocation)" = "$folder_win" ]
saver=$(reg_value "$desktop" SCRNSAVE.EXE)
echo "/S: SCRNSAVE.EXE is $saver"
check "/S: SCRNSAVE.EXE names the installed Ondrake.scr" [ "$(unix_path "$saver")" -ef "$folder/Ondrake.scr" ]
check "/S: ScreenSaveActive is 1" [ "$(reg_value "$desktop" ScreenSaveActive)" = 1 ]
check "/S: listed as Ondrake 1.0.0.0 by Ondrake" \
    holds '[ "$(reg_value "$listing" DisplayName)|$(reg_value "$listing" DisplayVersion)|$(reg_value "$listing" Publisher)" = "Ondrake|1.0.0.0|Ondrake" ]'
check "/S: listed with the saver's icon" [ "$(reg_value "$listing" DisplayIcon)" = "$folder_win\\Ondrake.scr,0" ]
check "/S: listed with its uninstaller, and its silent form" \
    holds '[ "$(reg_value "$listing" UninstallString)" = "\"$folder_win\\Uninstall.exe\"" ] &&
           [ "$(reg_value "$listing" QuietUninstallString)" = "\"$folder_win\\Uninstall.exe\" /S" ]'
bytes=0
for file in "${programs[@]}"; do bytes=$((bytes + $(stat -c %s "$folder/$file"))); done
listed=$(($(reg_value "$listing" EstimatedSize)))
echo "/S: listed size $listed KB for $bytes bytes of programs"
check "/S: listed with the programs' size in KB" holds '[ $((listed - bytes / 1024)) -ge 0 ] && [ $((listed - bytes / 1024)) -le 3 ]'

# The saver as Windows starts it: from the registry's name, with /s.
start_scr "$saver" /s
check "installed /s: the renderer's window appears" probe wait Sollvane_VC 15000
check "installed /s: the model copied to C:\\qorbel" cmp -s "$DIST/Ondrake.3ds" "$work/Ondrake.3ds"
sleep 0.5
xdotool key Escape
check "installed /s: Esc ends it, exit code 0" [ "$(scr_code 10)" = 0 ]

# The settings dialog from the installed folder saves its file there: 設定
# lies at (320, 200), 73 x 25 pixels, in the dialog's client area.
start_scr "$folder_win\\Ondrake.scr" /c
if check "installed /c: the settings dialog opens" probe wait "<Ondrake>" 15000; then
    sleep 0.8
    read -r cx cy < <(probe find "<Ondrake>" | sed -E 's/.* client=([-0-9]+),([-0-9]+),.*/\1 \2/')
    xdotool mousemove $((cx + 356)) $((cy + 212)) click 1
    check "installed /c: 設定 ends it, exit code 0" [ "$(scr_code 10)" = 0 ]
fi
check "installed /c: Ondrake.ini saved beside the program" grep -q '^\[Section\]' "$folder/Ondrake.ini"
cp "$folder/Ondrake.ini" "$T/settings.ini"

# Over an older version: the programs replaced, the settings kept.
for file in "${programs[@]}"; do printf 'an older %s' "$file" >"$folder/$file"; done
$W "$setup" /S >/dev/null 2>&1
check "again /S: the older programs replaced" as_built "$folder"
check "again /S: the settings file kept" cmp -s "$T/settings.ini" "$folder/Ondrake.ini"

# While the saver runs (its settings dialog open) its programs cannot be
# replaced or removed: a silent install or uninstall then ends with 2 and
# changes nothing. The model is not held open, so an older one stays as a
# mark. The uninstaller runs in place (_?=) to give its exit code.
printf 'an older model' >"$folder/Ondrake.3ds"
start_scr "$folder_win\\Ondrake.scr" /c
probe wait "<Ondrake>" 15000 >/dev/null
$W "$setup" /S >/dev/null 2>&1
code=$?
check "saver running, /S: ends with 2" [ "$code" = 2 ]
check "saver running, /S: the older model left as it was" [ "$(cat "$folder/Ondrake.3ds")" = "an older model" ]
$W "$folder_win\\Uninstall.exe" /S "_?=$folder_win" >/dev/null 2>&1
code=$?
check "saver running, uninstall: ends with 2" [ "$code" = 2 ]
check "saver running, uninstall: everything left, still listed" \
    holds '[ -f "$folder/Ondrake.scr" ] && [ -f "$folder/Ondrake.3ds" ] && [ -f "$folder/Ondrake.ini" ] && reg_key_exists "$listing"'
probe close "<Ondrake>" >/dev/null
scr_code 10 >/dev/null

# Uninstalling while another saver is selected: that choice stays, and so
# does every file that is not ours.
other='C:\windows\system32\other.scr'
$W reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
printf 'mine' >"$folder/notes.txt"
printf 'mine' >"$work/mine.3ds"
check "uninstall: finishes within 15 s, its listing gone" uninstall "$folder_win"
check "uninstall: the programs, the settings file and the uninstaller gone" none_left "$folder"
check "uninstall: the model's copy in C:\\qorbel gone" [ ! -e "$work/Ondrake.3ds" ]
check "uninstall: the user's own files stay" holds '[ -f "$folder/notes.txt" ] && [ -f "$work/mine.3ds" ]'
check "uninstall: another saver stays selected" [ "$(reg_value "$desktop" SCRNSAVE.EXE)" = "$other" ]

# ---------------------------------------------------------------------------
# A folder chosen on the command line whose names are no 8.3 names. NSIS
# wants /D= last and unquoted, while Wine quotes an argument with blanks:
# given word by word, the words reach it joined by single blanks.
chosen_win='C:\My Screen Savers\Ondrake Drake'
chosen=$WINEPREFIX/drive_c/My\ Screen\ Savers/Ondrake\ Drake
# shellcheck disable=SC2086
$W "$setup" /S /D=$chosen_win >/dev/null 2>&1
check "/D: the three programs in the chosen folder" as_built "$chosen"
saver=$(reg_value "$desktop" SCRNSAVE.EXE)
echo "/D: SCRNSAVE.EXE is $saver"
short_name() {  # a path of 8.3 names, no blanks
    local part
    [[ $1 =~ ^[A-Za-z]:\\ ]] || return 1
    IFS='\' read -ra parts <<<"${1:3}"
    for part in "${parts[@]}"; do [[ $part =~ ^[^.\ ]{1,8}(\.[^.\ ]{1,3})?$ ]] || return 1; done
}
check "/D: SCRNSAVE.EXE is a short name" short_name "$saver"
check "/D: ... of the installed Ondrake.scr" [ "$(unix_path "$saver")" -ef "$chosen/Ondrake.scr" ]
$W "$setup" /S >/dev/null 2>&1
check "again /S without /D: the earlier folder is used" holds 'as_built "$chosen" && [ ! -e "$folder/Ondrake.scr" ]'
check "uninstall: finishes within 15 s, its listing gone" uninstall "$chosen_win"
check "uninstall: our saver no longer selected" [ -z "$(reg_value "$desktop" SCRNSAVE.EXE)" ]
check "uninstall: the emptied folder gone" [ ! -e "$chosen" ]

# ---------------------------------------------------------------------------
# The installer's pages: Install, then Finish with its offer to open the
# settings, both taken by the default button (IDOK in WM_COMMAND).
rm -f "$T/setup-rc"
( $W "$setup" >/dev/null 2>&1; echo $? >"$T/setup-rc" ) &
offer() { probe children "Ondrake Setup " | grep -F "|Open the screen saver's settings|" | grep -q 'visible=1$'; }
if check "pages: the installer's window opens" probe wait "Ondrake Setup " 15000; then
    check "pages: no offer before installing" holds '! offer'
    probe post "Ondrake Setup " 273 1 >/dev/null
    check "pages: after Install, the finish page offers the settings" eventually 15 offer
    probe post "Ondrake Setup " 273 1 >/dev/null
    check "pages: Finish opens the installed saver's settings" probe wait "<Ondrake>" 15000
    check "pages: the installer ends with 0" eventually 10 '[ "$(cat "$T/setup-rc" 2>/dev/null)" = 0 ]'
    probe close "<Ondrake>" >/dev/null
    probe gone "<Ondrake>" 5000 >/dev/null
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
