# Sourced by saver_test.sh after dialog_checks.sh: the settings dialog at
# the display scales 100, 125, 150 and 200 % (96, 120, 144 and 192 dots per
# inch), measured in screenshots. What the dialog shows at 96 dpi is the
# measure of the others: there each mark and button measures its 96-dpi
# size times the density's ratio, and each text is whole and grown with
# it; at every density a button's caption is as high as a label of the
# same font, and above 96 the preview still fills its box. Each density's
# picture of the dialog is kept in $artifacts.

# set_dpi DPI: the density Wine gives the programs started from now on.
set_dpi() {
    local key
    for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        $W reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    done
}

# The measures: each prints "NAME.width W" and "NAME.height H" (size NAME)
# or "NAME N".
size() { sed -E "s/^([0-9]+)x([0-9]+).*/$1.width \1\n$1.height \2/"; }
# ink NAME FILE GEOMETRY THRESHOLD: the size of what is darker than the
# threshold (a percentage of white) in that part of the picture.
ink() { convert "$2" -crop "$3" +repage -colorspace Gray -threshold "$4%" -negate -format '%@\n' info: | size "$1"; }
# border NAME FILE GEOMETRY: the size of the buttons' dark blue border ring
# in that part of the picture.
border() {
    convert "$2" -crop "$3" +repage -fuzz 20% -fill white +opaque '#003C74' -fill black -opaque '#003C74' \
        -colorspace Gray -negate -format '%@\n' info: | size "$1"
}
# corner_inset NAME FILE X Y N: how far a button's border ring lies inside
# its rounded corner at (X, Y): the darkest of the first N pixels along the
# corner's diagonal.
corner_inset() {
    convert "$2" -crop "$5x$5+$3+$4" +repage txt:- | awk -v name="$1" -F'[,:() ]+' '$1 == $2 && $1 ~ /^[0-9]+$/ {
        v = $4 + $5 + $6; if (!seen || v < low) { low = v; at = $1; seen = 1 } } END { print name, at }'
}

# scale_measures DPI SCREENSHOT: what the dialog in the screenshot
# measures. The buttons are found where their windows are; the texts and
# marks in a box around their place in the design, grown by the density.
scale_measures() {
    local dpi=$1 file=$2 name rest x y w h m panel_x panel_y
    grow() { echo $((($1 * dpi + 48) / 96)); }
    IFS=, read -r panel_x panel_y _ < <(control OndrakePicture | cut -d'|' -f3)
    panel_x=$((cx + panel_x)) panel_y=$((cy + panel_y))
    # Each button's caption inside its face's band, its border ring, and
    # its corner.
    while IFS='|' read -r _ name rest; do
        IFS=, read -r x y w h <<<"${rest%%|*}"
        x=$((cx + x)) y=$((cy + y)) m=$((h / 5))
        ink "caption:$name" "$file" "$((w - 2 * m))x$((h - 2 * m))+$((x + m))+$((y + m))" 30
        border "button:$name" "$file" "${w}x$h+$x+$y"
        corner_inset "corner:$name" "$file" "$x" "$y" $((h / 2))
    done < <(control Sollvane.Command)
    # The heading inside its frame, the kinds, the words after the combo
    # box and the music file's path inside its border; the credit line on
    # the dialog; the marks' grey frames.
    while read -r name x y w h; do
        ink "label:$name" "$file" \
            "$(grow "$w")x$(grow "$h")+$((panel_x + $(grow "$x")))+$((panel_y + $(grow "$y")))" 30
    done <<'EOF'
BGM 22 22 109 17
音楽CD 34 53 56 19
無し 34 73 56 19
MP3、WAV 34 93 56 19
曲目をﾘﾋﾟｰﾄ 134 53 120 19
path 70 118 353 25
EOF
    ink label:credit "$file" "$(grow 100)x$(grow 19)+$((cx + $(grow 14)))+$((cy + $(grow 203)))" 30
    for y in 56 76 96; do
        ink "mark:$y" "$file" "$(grow 16)x$(grow 18)+$((panel_x + $(grow 18)))+$((panel_y + $(grow $((y - 2)))))" 75
    done
}
# against_96 DPI: the measures that stray from their 96-dpi value times the
# density's ratio, as "NAME=VALUE(WANTED)": marks and buttons by more than
# a pixel, texts (whose glyphs round to whole pixels) smaller by more than
# a tenth or two pixels.
against_96() {
    local name want
    for name in "${!at96[@]}"; do
        want=$(awk -v v="${at96[$name]}" -v d="$1" 'BEGIN { print v * d / 96 }')
        case $name in
            caption:* | label:*)
                awk -v v="${seen[$name]:-0}" -v w="$want" 'BEGIN { exit !(v >= w - (w > 20 ? w / 10 : 2)) }' ;;
            *) within "${seen[$name]:-0}" "$want" 1 ;;
        esac || echo "$name=${seen[$name]:-none}($want)"
    done
}

# as_high CAPTION LABEL: the two texts measured, their heights within a
# pixel.
as_high() {
    [ -n "${seen[$1.height]}" ] && [ -n "${seen[$2.height]}" ] && within "${seen[$1.height]}" "${seen[$2.height]}" 1
}

# The same settings at every density: MP3、WAV chosen, so that "..." is
# enabled, and a music file whose path takes two lines of its box.
music="$app/Music of the saver for its settings at every display scale"
mkdir -p "$music"
printf 'ID3' >"$music/theme.mp3"
write_ini 2 0 'C:\Ondrake\Music of the saver for its settings at every display scale\theme.mp3'
declare -A at96=() seen=()
for dpi in 96 120 144 192; do
    set_dpi "$dpi"
    check "$dpi dpi: the dialog opens" open_dialog || { finished scr 10; continue; }
    xdotool mousemove 1020 760  # off the buttons, which show their Normal faces
    sleep 0.3
    shot "$T/scale.png"
    IFS=, read -r left top width height < <(info_field rect "$dialog_info")
    convert "$T/scale.png" -crop "${width}x$height+$left+$top" +repage "$artifacts/dialog-${dpi}dpi.png"
    seen=()
    while read -r name value; do seen[$name]=$value; done < <(scale_measures "$dpi" "$T/scale.png")
    echo "$dpi dpi:" $(for name in "${!seen[@]}"; do echo "$name=${seen[$name]}"; done | sort)
    check "$dpi dpi: the captions 設定 and その他の作品 as high as the labels 音楽CD and 曲目をﾘﾋﾟｰﾄ" \
        holds 'as_high caption:設定 label:音楽CD && as_high caption:その他の作品 label:曲目をﾘﾋﾟｰﾄ'
    if [ "$dpi" = 96 ]; then
        for name in "${!seen[@]}"; do at96[$name]=${seen[$name]}; done
    else
        strays=$(against_96 "$dpi" | sort | sed "s/^/ /" | tr -d "\n")
        check "$dpi dpi: marks, buttons and texts measure their 96-dpi size times $dpi/96, none clipped:$strays" \
            holds '[ "${#at96[@]}" -gt 0 ] && [ -z "$strays" ]'
    fi
    probe close "<Ondrake>" >/dev/null
    finished scr 10
    if [ "$dpi" != 96 ]; then
        start_scr /p "$(probe desktop)"
        probe wait "Preview Window" 5000 >/dev/null
        check "$dpi dpi: /p: the still fills its box" eventually 10 'still "$T/preview.png"' 0.5
        probe close "Preview Window" >/dev/null
        finished scr 5
    fi
done
set_dpi 96
