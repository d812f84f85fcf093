# Sourced by saver_test.sh: the settings dialog through "Ondrake.scr /c",
# driven with the mouse and the keyboard on the virtual screen.

ring_point() {  # name: the second ring's top row, between the corners, on the screen
    local l t w h
    read -r l t w h < <(button_rect "$1")
    echo $((cx + l + w / 2)) $((cy + t + 2))
}
ring_of() { pixel "$2" $(ring_point "$1"); }  # name screenshot: the colour there
ring_shows() {  # name colour: a new screenshot shows that button's ring in it
    shot "$T/ring.png"
    near "$(ring_of "$1" "$T/ring.png")" "$2" 10
}
focused() { [ "$(probe focus "<Ondrake>" | cut -d'|' -f2)" = "$1" ]; }  # caption

# No settings file: "無し" marked, the combo box and "..." disabled. The
# dialog runs in the saver's folder, where the file dialog opens; the trace
# shows the texts drawn.
rm -f "$app/Ondrake.ini"
cd "$app"
WINEDEBUG=+text start_scr /c
cd - >/dev/null
find_dialog
echo "dialog: $dialog_info"
check "/c: the dialog, 479 x 252 pixels of client area" [ "$cw,$ch" = "479,252" ]
style=$(($(info_field style "$dialog_info")))
# A caption and a system menu (WS_CAPTION, WS_SYSMENU); no sizing border,
# minimise or maximise box (WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX).
check "/c: a fixed border with a close box only" holds '[ $((style & 0x00C80000)) = $((0x00C80000)) ] && [ $((style & 0x00070000)) = 0 ]'
check "no settings file: 無し is marked" eventually 3 'marked 0'
check "no settings file: the combo box is disabled" disabled "ComboBox|"
check "no settings file: ... is disabled" disabled "|...|"

# A second /c while the dialog is open ends by itself.
start_bg second $W "$SCR" /c
check "/c twice: the second start ends by itself with 0, no second dialog" \
    holds 'exits second 15 0 && [ "$(probe count "<Ondrake>")" = 1 ]'

# The dialog's gradient, and the panel's.
shot "$T/dialog.png"
check "dialog gradient: the top row is (0, 0, 30)" near "$(pixel "$T/dialog.png" $((cx + 5)) "$cy")" 00001E 2
check "dialog gradient: row 126 is (220, 220, 250)" near "$(pixel "$T/dialog.png" $((cx + 5)) $((cy + 126)))" DCDCFA 2
check "panel gradient: the middle row is (250, 250, 250)" near "$(pixel "$T/dialog.png" $((px + 300)) $((py + 84)))" FAFAFA 2
# Covered by another window and uncovered again, both gradients come back.
start_host coverer 600 400 20000
check "covering the dialog hides its gradient" \
    eventually 3 'shot "$T/covered.png" && near "$(pixel "$T/covered.png" $((cx + 5)) $((cy + 126)))" FFFFFF 2'
destroy_host
probe gone "Preview Host" 5000 >/dev/null
eventually 3 'shot "$T/uncovered.png" && near "$(pixel "$T/uncovered.png" $((cx + 5)) $((cy + 126)))" DCDCFA 2 &&
    near "$(pixel "$T/uncovered.png" $((px + 300)) $((py + 84)))" FAFAFA 2'
check "uncovered: the dialog gradient is back" near "$(pixel "$T/uncovered.png" $((cx + 5)) $((cy + 126)))" DCDCFA 2
check "uncovered: the panel gradient is back" near "$(pixel "$T/uncovered.png" $((px + 300)) $((py + 84)))" FAFAFA 2
finished coverer 5

# Choosing a kind: a press of any button on a label or a mark.
press_kind 1
check "音楽CD pressed: marked" eventually 3 'marked 1'
check "音楽CD pressed: the combo box is enabled" enabled "ComboBox|"
check "音楽CD pressed: ... stays disabled" disabled "|...|"
press_kind 2 50 3
check "MP3、WAV pressed with the right button: marked" eventually 3 'marked 2'
check "MP3、WAV pressed: ... is enabled" enabled "|...|"
check "MP3、WAV pressed: the combo box is disabled" disabled "ComboBox|"
# "...": the open-file dialog with the program's title and file type,
# listing the MP3 and WAV files of the folder (whatever the case of their
# names) and no others; a path typed there reaches the path box.
check "the path box empty" holds "! drawn 'C:\Ondrake\theme.mp3'"
click_button file
check "...: the open-file dialog, titled ﾌｧｲﾙを開く" eventually 10 'probe find "$file_dialog" | grep -q "^class=#32770 "'
check "...: its file type BGMﾌｧｲﾙ (MP3 WAV)" holds 'probe children "$file_dialog" | grep -q "^ComboBox|BGMﾌｧｲﾙ (MP3 WAV)|"'
# The list is drawn whole: theme.Wav comes last, after theme.mid.
check "...: it lists theme.mp3 and theme.Wav" eventually 5 'drawn theme.mp3 && drawn theme.Wav'
check "...: not theme.mid, nor the programs" holds '! drawn theme.mid && ! drawn Ondrake.3ds && ! drawn Ondrake.scr'
eventually 5 file_dialog_ready
xdotool type 'C:\Ondrake\theme.mp3'
xdotool key Return
eventually 5 '! probe find "$file_dialog" >/dev/null'
check "the path typed: it shows in the path box" eventually 3 "drawn 'C:\Ondrake\theme.mp3'"
press_kind 0 26 2
check "無し's mark pressed with the middle button: marked" eventually 3 'marked 0'
check "無し pressed: both disabled" holds 'disabled "ComboBox|" && disabled "|...|"'

# Hovering a button that has no focus shows its HighLight face; leaving
# restores Normal at the next poll.
xdotool mousemove $(button_centre cancel)
check "hover: ｷｬﾝｾﾙ shows its HighLight face" eventually 3 'ring_shows cancel "$ring_highlight"'
# Timed on the screen from the moment Windows sees the cursor leave.
watch leave repaint $((cx + 100)) $((cy + 230)) $(ring_point cancel) "$ring_normal" 5000
xdotool mousemove $((cx + 100)) $((cy + 230))
watched leave 10
echo "hover: the Normal face came back $seen ms after the mouse left"
check "leave: ｷｬﾝｾﾙ shows Normal again within 400 ms" [ "$seen" -lt 400 ] 2>/dev/null

# "その他の作品" opens the home page and keeps the dialog open.
rm -f "$WINEPREFIX/drive_c/browser.txt"
click_button etc
check "その他の作品: the home page is opened" eventually 6 'grep -q "^https://" "$WINEPREFIX/drive_c/browser.txt" 2>/dev/null'
check "その他の作品: the dialog stays open" holds 'probe find "<Ondrake>" >/dev/null'

# "設定" writes exactly the three keys, here CD music with a typed 3.5.
press_kind 1
check "after the home page: 音楽CD pressed enables the combo box" eventually 3 'enabled "ComboBox|"'
xdotool mousemove $((px + 100)) $((py + 62)) click 1
eventually 3 '[ "$(probe focus "<Ondrake>" | cut -d"|" -f1)" = Edit ]'
xdotool type "3.5"
check "the repeat track typed" eventually 3 'has_control "ComboBox|3.5|"'
click_button set
check "設定: the program ends with 0" exits scr 10 0
echo "設定 wrote: $(iconv -f cp932 -t utf-8 "$app/Ondrake.ini" 2>/dev/null | tr -d '\r' | tr '\n' ' ')"
check "設定: the three keys, code page 932 bytes, 3.5 saved as 4, the path chosen" \
    cmp -s "$app/Ondrake.ini" <(settings_file 1 4 'C:\Ondrake\theme.mp3')

# The stored settings shown on load: CD music repeating track 5.
write_ini 1 5 'C:\Ondrake\theme.mp3'
open_dialog /c:1234
check "/c:1234: the dialog opens" holds 'probe find "<Ondrake>" >/dev/null'
check "CD, track 5: 音楽CD marked" eventually 3 'marked 1'
check "CD, track 5: the combo box shows 5" has_control "ComboBox|5|"
check "CD, track 5: the combo box has the focus" [ "$(probe focus "<Ondrake>" | cut -d'|' -f1)" = Edit ]
# Tab onto a button under the cursor shows Pressed; once the cursor leaves,
# Selected. Tab passes over the disabled "...".
read -r bx by < <(button_centre set)
xdotool mousemove $((bx - 3)) "$by" sleep 0.1 mousemove "$bx" "$by"
eventually 3 'ring_shows set "$ring_highlight"'
xdotool key Tab
check "Tab passes over the disabled ... to 設定" eventually 3 'focused 設定'
check "Tab onto the hovered 設定 shows Pressed (its border one pixel in)" eventually 3 'ring_shows set "$ring_pressed"'
echo "Tab: focus on $(probe focus "<Ondrake>"), 設定's second ring $(ring_of set "$T/ring.png")"
xdotool mousemove $((cx + 100)) $((cy + 230))
check "the cursor gone, 設定 shows Selected" eventually 3 'ring_shows set "$ring_selected"'
xdotool key Tab
check "Tab then reaches ｷｬﾝｾﾙ" eventually 3 'focused ｷｬﾝｾﾙ'
shot "$T/dialog-screen.png"
IFS=, read -r left top width height < <(info_field rect "$dialog_info")
convert "$T/dialog-screen.png" -crop "${width}x$height+$left+$top" +repage "$artifacts/dialog.png"
# The label "音楽CD" in the window's picture: dark strokes on the bright panel.
glyphs=$(convert "$artifacts/dialog.png" -crop 40x13+$((px + 36 - left))+$((py + 56 - top)) +repage -format '%[fx:minima]' info:)
check "dialog screenshot: the labels' glyphs are drawn" above 0.3 "$glyphs"

# "ｷｬﾝｾﾙ" and the close box write nothing.
cp "$app/Ondrake.ini" "$T/ini-before"
press_kind 2 50
click_button cancel
check "ｷｬﾝｾﾙ: the program ends with 0" exits scr 10 0
check "ｷｬﾝｾﾙ: the settings file is untouched" cmp -s "$app/Ondrake.ini" "$T/ini-before"
open_dialog
press_kind 0
probe post "<Ondrake>" 274 61536 >/dev/null  # WM_SYSCOMMAND, SC_CLOSE: the close box
check "close box: the program ends with 0" exits scr 10 0
check "close box: the settings file is untouched" cmp -s "$app/Ondrake.ini" "$T/ini-before"

# A press elsewhere (on the panel, on the dialog's own background, on the
# label 無し with the right button) dragged onto 設定, ｷｬﾝｾﾙ or その他の作品
# and released there raises no Click: the press belongs to where it began.
drag_onto() {  # from-x from-y button-name mouse-button
    local x y
    read -r x y < <(button_centre "$3")
    xdotool mousemove "$1" "$2" mousedown "$4" mousemove $((x - 2)) "$y" sleep 0.2 mousemove "$x" "$y" sleep 0.2 mouseup "$4"
}
rm -f "$WINEPREFIX/drive_c/browser.txt"
WINEDEBUG=+exec open_dialog
drag_onto $((px + 350)) $((py + 80)) set 1
drag_onto $((cx + 100)) $((cy + 230)) cancel 1
drag_onto $((px + 45)) $((py + 82)) etc 3
# A press after them, handled after their releases; the trace shows every
# program the dialog asks the shell to open.
press_kind 1
eventually 3 'marked 1'
check "pressed elsewhere, released over 設定, ｷｬﾝｾﾙ, その他の作品: no Click (nothing written or opened, still open)" \
    holds 'running scr && cmp -s "$app/Ondrake.ini" "$T/ini-before" && ! grep -aq ShellExecute "$T/scr.err" &&
        [ ! -e "$WINEPREFIX/drive_c/browser.txt" ]'
probe close "<Ondrake>" >/dev/null
finished scr 10

# "..." with the focus (a file dialog cancelled gives it back, and the path
# as it was), disabled by 無し and enabled again by MP3、WAV: its first
# click opens the file dialog, which disables the settings dialog while it
# is open.
file_dialog_open() {
    local style
    style=$(info_field style "$(probe find "<Ondrake>")")
    [ -n "$style" ] && (((style & 0x08000000) != 0))
}
printf 'ID3' >"$app/theme.mp3"
write_ini 2 0 'C:\Ondrake\theme.mp3'
open_dialog
click_button file
check "... opens the file dialog" eventually 5 file_dialog_open
xdotool key Escape
check "the file dialog cancelled: ... has the focus again" eventually 5 '! file_dialog_open && focused ...'
press_kind 0
eventually 3 'disabled "|...|"'
press_kind 2 50
eventually 3 'enabled "|...|"'
click_button file
check "... disabled and enabled again while it had the focus: its first click opens the file dialog" \
    eventually 5 file_dialog_open
xdotool key Escape
eventually 5 '! file_dialog_open'
# Disabled again, the focus gone with it: the dialog, left for another
# window and activated again when that one goes, gives the focus to the
# first control that can take it, 設定, not back to the disabled "...".
press_kind 0
eventually 3 'disabled "|...|"'
start_host coverer 600 400 20000
eventually 3 '[ "$(probe focus "<Ondrake>")" = "|" ]'  # left
destroy_host
check "activated again: the focus on 設定, not on the disabled ..." eventually 3 'focused 設定'
finished coverer 5
click_button set
check "設定 after the file dialogs cancelled: the program ends with 0" exits scr 10 0
check "設定 after the file dialogs cancelled: the path kept" cmp -s "$app/Ondrake.ini" <(settings_file 0 0 'C:\Ondrake\theme.mp3')
