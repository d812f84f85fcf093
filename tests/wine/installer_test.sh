#!/bin/bash
# End-to-end tests of OndrakeSetup.exe under Wine on Xvfb, in a fresh
# prefix where another saver is selected: folders refused by what they are
# however they are spelt, and a /D= that names no folder; a silent install
# into the user's programs folder with its Start menu entries (the way back
# as Windows documents its Install verb), the saver it selects running from
# there, the settings file and the user's switch kept over a second
# install, its programs held by the running saver and by another program,
# a file it cannot write putting everything back, a second installer at
# once, an upgrade that keeps the user's newer choice of saver, the
# uninstaller with another saver selected and with ours (which gives the
# earlier one back), a folder whose name needs a short form, a second
# install into another folder, the installer's pages (Browse, and the
# finish page's offers), and then what is given back and left after a
# folder deleted by hand, a saver gone, and a move out of Documents.
#   installer_test.sh BUILD_ROOT
set -u
source "$(dirname "$0")/wine_env.sh" "$1" installer

# reg_value KEY NAME: the value's data; nothing when it is not there.
reg_value() { wine_run reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
reg_key_exists() { $W reg query "$1" >/dev/null 2>&1; }
unix_path() { wine_run winepath -u "$1"; }

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
    for file in "${programs[@]}" Ondrake.ini "Uninstall Ondrake.exe"; do [ ! -e "$1/$file" ] || return 1; done
}
# uninstall WINDOWS-FOLDER: runs its uninstaller silently. It copies itself away
# and returns at once; the listing goes last, when it has finished.
uninstall() {
    LANG=C.UTF-8 $W "$1\\Uninstall Ondrake.exe" /S >/dev/null 2>&1
    eventually 15 '! reg_key_exists "$listing"'
}
saver_state() { echo "SCRNSAVE.EXE=[$(reg_value "$desktop" SCRNSAVE.EXE)] ScreenSaveActive=[$(reg_value "$desktop" ScreenSaveActive)]"; }
# link NAME: the Start menu entry's target and arguments, as target|arguments.
link() { probe link "$(winepath_of "$start_menu/$1.lnk")"; }
start_menu=$(unix_path "$(wine_run cmd /c 'echo %APPDATA%')")/Microsoft/Windows/Start\ Menu/Programs/Ondrake
# page TEXT: the installer's window shows a control of that text.
page() { probe children "Ondrake Setup " | grep -F "|$1|" | grep -q 'visible=1$'; }

# ---------------------------------------------------------------------------
# The user had chosen another saver, and switched it off.
other='C:\windows\system32\other.scr'
touch "$WINEPREFIX/drive_c/windows/system32/other.scr"
$W reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
$W reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
echo "before: $(saver_state)"

# silent_install [ARGUMENTS...]: sets code to the exit code of a silent
# install. /D= goes last, word by word: NSIS takes it unquoted, and Wine
# quotes an argument with blanks. Under C.UTF-8, so that names in any script
# reach it whole.
silent_install() {
    # shellcheck disable=SC2068
    LANG=C.UTF-8 $W "$setup" /S $@ >/dev/null 2>&1
    code=$?
}
nothing_installed() {
    [ -z "$(find "$WINEPREFIX/drive_c" -name Ondrake.scr -print -quit)" ] && ! reg_key_exists "$listing" &&
        [ "$(reg_value "$desktop" SCRNSAVE.EXE)" = "$other" ]
}
# Refused with exit code 3 and nothing changed: a drive's top folder, one
# of Windows' own, the folders Windows keeps for programs and for the
# user's files, by Windows' own names for them, however they are spelt
# (short names, "." and "..", another case); and a /D= that names no
# folder (a drive that does not exist, a path through a file, a relative
# path).
profile=$(wine_run cmd /c 'echo %USERPROFILE%')
touch "$WINEPREFIX/drive_c/a file"
refused=('C:\' 'C:\windows' "$(wine_run winepath -s 'C:\Program Files')" "$profile\Documents\." "$profile\Desktop\.."
         'C:\Users' 'C:\PROGRAMDATA' "$profile\Downloads" "$profile\Pictures" "$profile\Music" "$profile\Videos"
         "$(wine_run cmd /c 'echo %TEMP%')" "$(wine_run cmd /c 'echo %APPDATA%')\Microsoft\Windows\Start Menu\Programs"
         'Q:\Ondrake' 'C:\a file\Ondrake' 'Ondrake')
x86=$(wine_run cmd /c 'echo %ProgramFiles(x86)%')
[ "$x86" = '%ProgramFiles(x86)%' ] || refused+=("$x86")
for refused_folder in "${refused[@]}"; do
    silent_install "/D=$refused_folder"
    check "/D=$refused_folder: refused with 3" [ "$code" = 3 ]
done
check "refused: nothing installed, listed or selected" nothing_installed
# Windows opens no path past 259 characters: a file that cannot be written.
long=$(printf '%0118d' 0)
silent_install "/D=C:\\$long\\$long"
check "/D= too long for Windows: ends with 5, nothing made" \
    holds '[ "$code" = 5 ] && nothing_installed && [ ! -e "$WINEPREFIX/drive_c/$long" ]'
# Nor can a folder be made where Linux lets no one, not even root, make one.
silent_install '/D=Z:\sys\Ondrake'
check "/D= where no folder can be made: ends with 5, nothing changed" holds '[ "$code" = 5 ] && nothing_installed'

# ---------------------------------------------------------------------------
# A silent install, for the current user.
before=$(now_ms) today=$(date +%Y%m%d)
$W "$setup" /S >/dev/null 2>&1
code=$?
echo "/S: installed in $(($(now_ms) - before)) ms"
check "/S: the installer ends with 0" [ "$code" = 0 ]
folder_win=$(wine_run cmd /c 'echo %LOCALAPPDATA%\Programs\Ondrake')
folder=$(unix_path "$folder_win")
echo "/S: the user's programs folder is $folder_win"
check "/S: the three programs, as built, in the user's programs folder" as_built "$folder"
check "/S: the uninstaller beside them, by a name of its own" [ -f "$folder/Uninstall Ondrake.exe" ]
check "/S: the programs list says where it installed" [ "$(reg_value "$listing" InstallLocation)" = "$folder_win" ]
saver=$(reg_value "$desktop" SCRNSAVE.EXE)
echo "/S: SCRNSAVE.EXE is $saver"
check "/S: SCRNSAVE.EXE names the installed Ondrake.scr" [ "$(unix_path "$saver")" -ef "$folder/Ondrake.scr" ]
check "/S: ScreenSaveActive is 1" [ "$(reg_value "$desktop" ScreenSaveActive)" = 1 ]
check "/S: listed as Ondrake 1.0.0.0 by Ondrake" \
    holds '[ "$(reg_value "$listing" DisplayName)|$(reg_value "$listing" DisplayVersion)|$(reg_value "$listing" Publisher)" = "Ondrake|1.0.0.0|Ondrake" ]'
check "/S: listed with the saver's icon" [ "$(reg_value "$listing" DisplayIcon)" = "$folder_win\\Ondrake.scr,0" ]
check "/S: listed with its uninstaller, and its silent form" \
    holds '[ "$(reg_value "$listing" UninstallString)" = "\"$folder_win\\Uninstall Ondrake.exe\"" ] &&
           [ "$(reg_value "$listing" QuietUninstallString)" = "\"$folder_win\\Uninstall Ondrake.exe\" /S" ]'
installed_on=$(reg_value "$listing" InstallDate)
check "/S: listed with our home page and the day it was installed" \
    holds '[ "$(reg_value "$listing" URLInfoAbout)" = https://ondrake.example/ ] &&
           { [ "$installed_on" = "$today" ] || [ "$installed_on" = "$(date +%Y%m%d)" ]; }'
check "/S: a Start menu entry opens the settings" [ "$(link "Ondrake Settings")" = "$folder_win\\Ondrake.scr|/c" ]
# Windows documents its Install verb of a screen saver as
# rundll32.exe desk.cpl,InstallScreenSaver <path of the .scr>.
IFS='|' read -r target arguments < <(link "Use Ondrake as the Screen Saver")
check "/S: a Start menu entry selects the saver with the system's rundll32.exe" \
    [ "${target,,}" = "$(wine_run cmd /c 'echo %SystemRoot%\system32\rundll32.exe' | tr A-Z a-z)" ]
check "/S: ... as desk.cpl,InstallScreenSaver and the installed Ondrake.scr, as right-click Install does" \
    holds '[ "${arguments%% *}" = desk.cpl,InstallScreenSaver ] && [ "$(unix_path "${arguments#* }")" -ef "$folder/Ondrake.scr" ]'
bytes=0
for file in "${programs[@]}"; do bytes=$((bytes + $(stat -c %s "$folder/$file"))); done
listed=$(($(reg_value "$listing" EstimatedSize)))
echo "/S: listed size $listed KB for $bytes bytes of programs"
check "/S: listed with the programs' size in KB" holds '[ $((listed - bytes / 1024)) -ge 0 ] && [ $((listed - bytes / 1024)) -le 3 ]'

# The saver as Windows starts it: from the registry's name, with /s.
SCR=$saver start_scr /s
check "installed /s: the renderer's window appears" probe wait Sollvane_VC 15000
check "installed /s: the model copied to C:\\qorbel" cmp -s "$DIST/Ondrake.3ds" "$work/Ondrake.3ds"
eventually 15 'has_keys Sollvane_VC'
xdotool key Escape
check "installed /s: Esc ends it, exit code 0" exits scr 10 0

# The settings dialog from the installed folder saves its file there.
SCR=$folder_win\\Ondrake.scr
if check "installed /c: the settings dialog opens" open_dialog; then
    click_button set
    check "installed /c: 設定 ends it, exit code 0" exits scr 10 0
fi
check "installed /c: Ondrake.ini saved beside the program" grep -q '^\[Section\]' "$folder/Ondrake.ini"
cp "$folder/Ondrake.ini" "$T/settings.ini"

# Over an older version: the programs replaced, the settings kept, and the
# saver, which the user has switched off, stays off.
for file in "${programs[@]}"; do printf 'an older %s' "$file" >"$folder/$file"; done
$W reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
$W "$setup" /S >/dev/null 2>&1
check "again /S: the older programs replaced" as_built "$folder"
check "again /S: the settings file kept" cmp -s "$T/settings.ini" "$folder/Ondrake.ini"
check "again /S: still the saver, and still switched off" \
    holds '[ "$(unix_path "$(reg_value "$desktop" SCRNSAVE.EXE)")" -ef "$folder/Ondrake.scr" ] &&
           [ "$(reg_value "$desktop" ScreenSaveActive)" = 0 ]'

# blocked_while WHY CODE: a silent install, and a silent uninstall run in
# place (_?=) to give its exit code, both end with CODE and change nothing.
# The model is not held open, so an older one stays as a mark.
blocked_while() {
    local expected=$2 code
    $W "$setup" /S >/dev/null 2>&1
    code=$?
    check "$1, /S: ends with $expected" [ "$code" = "$expected" ]
    check "$1, /S: the older model left as it was" [ "$(cat "$folder/Ondrake.3ds")" = "an older model" ]
    $W "$folder_win\\Uninstall Ondrake.exe" /S "_?=$folder_win" >/dev/null 2>&1
    code=$?
    check "$1, uninstall: ends with $expected, everything left, still listed" \
        holds '[ "$code" = "$expected" ] && [ -f "$folder/Ondrake.scr" ] && [ -f "$folder/Ondrake.3ds" ] &&
               [ -f "$folder/Ondrake.ini" ] && reg_key_exists "$listing"'
}

# While the saver runs (its preview in a host window, which has no window
# of the saver's own to find it by) its programs cannot be replaced or
# removed.
printf 'an older model' >"$folder/Ondrake.3ds"
start_host host 152 112 30000
start_scr /p "$hwnd"
eventually 10 'probe children "Preview Host" | grep -q "Preview Window"'
blocked_while "saver running" 2
destroy_host
finished scr 10

# Another program holding the renderer open, as a virus scanner may, is no
# running saver.
rm -f "$T/release"
start_bg holder $W "$PROBES/probe.exe" hold "$folder_win\\Ondrake.dll" "$(winepath_of "$T/release")"
eventually 10 '[ -s "$T/holder.out" ]'
blocked_while "held by another program" 4
# The message says which: Uninstall on the first page, then the box.
start_bg uninstaller $W "$folder_win\\Uninstall Ondrake.exe" "_?=$folder_win"
if probe wait "Ondrake Uninstall " 15000; then
    probe post "Ondrake Uninstall " 273 1 >/dev/null
    check "held by another program: the message names the holder, not the saver" \
        grep -q "held open by another program, perhaps a virus scanner" <<<"$(probe box "Ondrake Uninstall" 15000)"
    probe close "Ondrake Uninstall " >/dev/null
fi
finished uninstaller 30
touch "$T/release"
finished holder 30

# A file the install cannot write, the model held open by another program:
# everything it replaced is put back (exit code 5), and with its window it
# says which file and why.
for file in "${programs[@]}"; do printf 'an older %s' "$file" >"$folder/$file"; done
as_before() {
    [ "$(cat "$folder/Ondrake.scr")|$(cat "$folder/Ondrake.dll")" = "an older Ondrake.scr|an older Ondrake.dll" ] &&
        [ "$(ls "$folder" | tr '\n' '|')" = "Ondrake.3ds|Ondrake.dll|Ondrake.ini|Ondrake.scr|Uninstall Ondrake.exe|" ]
}
rm -f "$T/release"
start_bg model_holder $W "$PROBES/probe.exe" hold "$folder_win\\Ondrake.3ds" "$(winepath_of "$T/release")"
eventually 10 '[ -s "$T/model_holder.out" ]'
silent_install
check "model held open, /S: ends with 5, the older programs back as they were" holds '[ "$code" = 5 ] && as_before'
start_bg setup $W "$setup"
if probe wait "Ondrake Setup " 15000; then
    probe post "Ondrake Setup " 273 1 >/dev/null
    eventually 10 'page "B&rowse..."' && probe post "Ondrake Setup " 273 1 >/dev/null
    unwritten=$(probe box "Ondrake Setup" 15000)
    echo "model held open: $unwritten"
    why=${unwritten#*"$folder_win\\Ondrake.3ds cannot be written. "}
    # What the system says when cmd tries to move that file.
    said=$($W cmd /c ren "$folder_win\\Ondrake.3ds" moved.3ds 2>&1 >/dev/null | tr -d '\r')
    check "model held open: the message names the file, and what the system says of it" \
        holds '[ "$why" != "$unwritten" ] && [ "${why%% Everything*}" = "$said" ]'
fi
touch "$T/release"
finished model_holder 30
# While that installer is open, a second one changes nothing (exit code 6).
silent_install
check "a second installer at once, /S: ends with 6, nothing changed" holds '[ "$code" = 6 ] && as_before'
probe close "Ondrake Setup " >/dev/null
check "model held open, with its window: ends with 5 too" exits setup 15 5

# The user has since chosen another saver: an upgrade leaves it chosen.
newer='C:\windows\system32\newer.scr'
touch "$WINEPREFIX/drive_c/windows/system32/newer.scr"
$W reg add "$desktop" /v SCRNSAVE.EXE /d "$newer" /f >/dev/null 2>&1
$W "$setup" /S >/dev/null 2>&1
check "upgrade: the programs replaced" as_built "$folder"
check "upgrade: the user's newer choice of saver stays" [ "$(reg_value "$desktop" SCRNSAVE.EXE)" = "$newer" ]

# Uninstalling while another saver is selected: that choice stays, and so
# does every file that is not ours, and the folder holding one.
printf 'mine' >"$folder/notes.txt"
printf 'mine' >"$work/mine.3ds"
check "uninstall: finishes within 15 s, its listing gone" uninstall "$folder_win"
check "uninstall: the programs, the settings file and the uninstaller gone" none_left "$folder"
check "uninstall: the model's copy in C:\\qorbel gone" [ ! -e "$work/Ondrake.3ds" ]
check "uninstall: the user's own files stay, in their folders" holds '[ -f "$folder/notes.txt" ] && [ -f "$work/mine.3ds" ]'
check "uninstall: the Start menu entries gone" [ ! -e "$start_menu" ]
check "uninstall: another saver stays selected" [ "$(reg_value "$desktop" SCRNSAVE.EXE)" = "$newer" ]

# ---------------------------------------------------------------------------
# A folder chosen on the command line whose names are no 8.3 names. NSIS
# wants /D= last and unquoted, while Wine quotes an argument with blanks:
# given word by word, the words reach it joined by single blanks. The user
# has switched the saver off meanwhile.
$W reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1
round_before=$(saver_state)
echo "second round, before: $round_before"
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

# One install per user: installing into another folder moves it there,
# settings and all, and the selected saver and the listing follow.
printf 'the settings' >"$chosen/Ondrake.ini"
# While a file of the settings' name is held open there, or the settings
# themselves (found only after the programs are in place), the settings
# cannot come along: the first copy stays whole, and listed, and the other
# folder as it was (exit code 5).
printf 'older settings' >"$folder/Ondrake.ini"
for held in "$folder_win" "$chosen_win"; do
    rm -f "$T/release"
    start_bg settings_holder $W "$PROBES/probe.exe" hold "$held\\Ondrake.ini" "$(winepath_of "$T/release")"
    eventually 10 '[ -s "$T/settings_holder.out" ]'
    silent_install "/D=$folder_win"
    check "settings held open in $held: ends with 5, the first copy whole and listed, the other folder as it was" \
        holds '[ "$code" = 5 ] && as_built "$chosen" && [ "$(cat "$chosen/Ondrake.ini")" = "the settings" ] &&
               [ "$(reg_value "$listing" InstallLocation)" = "$chosen_win" ] &&
               [ "$(LC_ALL=C ls "$folder" | tr "\n" "|")" = "Ondrake.ini|notes.txt|" ] && [ "$(cat "$folder/Ondrake.ini")" = "older settings" ]'
    touch "$T/release"
    finished settings_holder 30
done
# shellcheck disable=SC2086
$W "$setup" /S /D=$folder_win >/dev/null 2>&1
check "another folder: the programs and settings there" holds 'as_built "$folder" && [ "$(cat "$folder/Ondrake.ini")" = "the settings" ]'
check "another folder: the first copy's folder gone" [ ! -e "$chosen" ]
check "another folder: listed there" [ "$(reg_value "$listing" InstallLocation)" = "$folder_win" ]
check "another folder: SCRNSAVE.EXE follows" [ "$(unix_path "$(reg_value "$desktop" SCRNSAVE.EXE)")" -ef "$folder/Ondrake.scr" ]
check "another folder: the Start menu entry follows" [ "$(link "Ondrake Settings")" = "$folder_win\\Ondrake.scr|/c" ]

# Uninstalling while Ondrake is still the saver gives back the one found
# before, with its switch.
check "uninstall: finishes within 15 s, its listing gone" uninstall "$folder_win"
echo "second round, after: $(saver_state)"
check "uninstall: the saver and its switch from before given back" [ "$(saver_state)" = "$round_before" ]
check "uninstall: the folder, holding the user's file, stays" holds '[ -f "$folder/notes.txt" ] && none_left "$folder"'

# ---------------------------------------------------------------------------
# The installer's pages, each taken by the default button (IDOK in
# WM_COMMAND): the components, whose choice /NOSELECT unticks; the folder,
# a drive's top folder there refused with a message, and Browse giving the
# folder picked a folder of Ondrake's own; Install; then Finish with its
# offers to open our settings and Windows' screen saver settings.
start_bg setup $W "$setup" /NOSELECT '/D=C:\'
if check "pages: the installer's window opens" probe wait "Ondrake Setup " 15000; then
    probe post "Ondrake Setup " 273 1 >/dev/null
    if check "pages: the folder page" eventually 10 'page "C:\\"'; then
        probe post "Ondrake Setup " 273 1 >/dev/null
        refusal=$(probe box "Ondrake Setup" 10000)
        check "pages: a drive's top folder refused, saying why" grep -q "^Ondrake cannot be installed in C:\\\\: it is the top folder of a drive" <<<"$refusal"
        IFS=, read -r cx cy _ < <(info_field client "$(probe find "Ondrake Setup ")")
        IFS=, read -r bx by bw bh < <(probe children "Ondrake Setup " | grep -F '|B&rowse...|' | cut -d'|' -f3)
        xdotool mousemove $((cx + bx + bw / 2)) $((cy + by + bh / 2)) click 1
        # Browse starts at the folder given, C:\ (its name shown as " (C:)").
        eventually 10 'probe children "Browse for Folder" | grep -q "^Edit| (C:)|"'
        probe post "Browse for Folder" 273 1 >/dev/null
        check "pages: Browse adds \\Ondrake to the folder picked" eventually 10 'page "C:\Ondrake"'
    fi
    check "pages: no offers before installing" holds '! page "Open the screen saver'"'"'s settings"'
    probe post "Ondrake Setup " 273 1 >/dev/null
    check "pages: after Install, the finish page offers our settings and Windows' screen saver settings" \
        eventually 15 'page "Open the screen saver'"'"'s settings" && page "Open Windows'"'"' screen saver settings (wait time, sign-in on resume)"'
    check "pages: installed in the folder Browse gave" as_built "$WINEPREFIX/drive_c/Ondrake"
    check "pages: /NOSELECT left the saver as it was" [ "$(saver_state)" = "$round_before" ]
    probe post "Ondrake Setup " 273 1 >/dev/null
    check "pages: Finish opens the installed saver's settings" probe wait "<Ondrake>" 15000
    check "pages: the installer ends with 0" exits setup 10 0
    probe close "<Ondrake>" >/dev/null
    probe gone "<Ondrake>" 5000 >/dev/null
fi

# ---------------------------------------------------------------------------
# The user deletes Ondrake's folder by hand and chooses another saver,
# switched on. An install into folders it makes takes over from that saver:
# its uninstaller gives that one back, and removes the folders it made.
rm -rf "$WINEPREFIX/drive_c/Ondrake"
$W reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null 2>&1
$W reg add "$desktop" /v ScreenSaveActive /d 1 /f >/dev/null 2>&1
chosen_since=$(saver_state)
made_win='C:\Программы\𠮷田のプログラム\Ondrake'
silent_install "/D=$made_win"
check "after a folder deleted by hand: installed in new folders" \
    holds '[ "$code" = 0 ] && as_built "$WINEPREFIX/drive_c/Программы/𠮷田のプログラム/Ondrake"'
check "uninstall: finishes within 15 s, its listing gone" uninstall "$made_win"
check "uninstall: the saver chosen since the first install given back, with its switch" [ "$(saver_state)" = "$chosen_since" ]
check "uninstall: the folders the installer made gone" [ ! -e "$WINEPREFIX/drive_c/Программы" ]

# Ondrake's programs deleted by hand while it is the saver: an install
# elsewhere takes over from no saver, and the one on record is given back.
silent_install
rm "$folder"/Ondrake.*
silent_install '/D=C:\Savers\Ondrake'
check "uninstall: finishes within 15 s, its listing gone" uninstall 'C:\Savers\Ondrake'
check "uninstall: after Ondrake deleted by hand and installed elsewhere, the saver from before given back" \
    [ "$(saver_state)" = "$chosen_since" ]

# A saver is given back only while it is there; else none, switched off,
# as Windows leaves "(None)".
silent_install
rm "$WINEPREFIX/drive_c/windows/system32/other.scr"
check "uninstall: finishes within 15 s, its listing gone" uninstall "$folder_win"
check "uninstall: a saver since deleted not given back: none, off" [ "$(saver_state)" = "SCRNSAVE.EXE=[] ScreenSaveActive=[0]" ]

# An older install in Documents itself, moved out: Documents stays, even
# empty. A folder of Ondrake's own in Documents is allowed.
docs=$(unix_path "$profile\Documents")
install_saver "$docs"
$W reg add "$listing" /v InstallLocation /d "$profile\Documents" /f >/dev/null 2>&1
silent_install '/D=C:\Savers\Ondrake'
check "moved out of Documents: Documents stays" holds '[ "$code" = 0 ] && [ -d "$docs" ] && [ ! -e "$docs/Ondrake.scr" ]'
silent_install "/D=$profile\Documents\Ondrake"
check "a folder in Documents: installed there" holds '[ "$code" = 0 ] && as_built "$docs/Ondrake"'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
