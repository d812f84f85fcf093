# Sourced by saver_test.sh after dialog_checks.sh: the settings dialog at
# the display scales 100, 125, 150 and 200 % (96, 120, 144 and 192 dots per
# inch), measured in screenshots. What the dialog shows at 96 dpi is the
# measure: at every density each text, mark and button measures that times
# the density's ratio, and a button's caption is as high as a label of the
# same font. Each density's picture of the dialog is kept in ARTIFACT_DIR.

# set_dpi DPI: the density Wine gives programs started from now on.
set_dpi() {
    local key
    for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        $W reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    done
}

# ink FILE GEOMETRY [THRESHOLD]: width and height of what is darker than
# the threshold (50 % unless given) in that part of the picture, or "0 0".
ink() {
    local box
    box=$(convert "$1" -crop "$2" +repage -colorspace Gray -threshold "${3:-50}%" -negate -format '%@' info: 2>/dev/null)
    [[ $box =~ ^([0-9]+)x([0-9]+)\+ ]] && [ "$box" != "${2%%+*}+0+0" ] || { echo 0 0; return; }
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}
# border FILE GEOMETRY: width and height of the buttons' dark blue border
# ring in that part of the picture.
border() {
    convert "$1" -crop "$2" +repage -fuzz 20% -fill white +opaque '#003C74' -fill black -opaque '#003C74' \
        -colorspace Gray -negate -format '%@' info: 2>/dev/null | sed -E 's/^([0-9]+)x([0-9]+).*/\1 \2/'
}
# corner FILE X Y N: how far the border ring lies inside the corner at
# (X, Y), the top left of a button: the darkest of the first N pixels along
# the corner's diagonal.
corner() {
    convert "$1" -crop "$4x$4+$2+$3" +repage txt:- |
        awk -F'[,:() ]+' '$1 == $2 && $1 ~ /^[0-9]+$/ { v = $4 + $5 + $6; if (!seen || v < low) { low = v; at = $1; seen = 1 } }
            END { print at }'
}

# scale_measures DPI SCREENSHOT: one line a measure, "NAME VALUE", of the
# dialog that shows in the screenshot. Labels and marks are found at their
# place in the design, grown by the density; buttons where their windows
# are.
scale_measures() {
    local dpi=$1 file=$2 line name rest x y w h m panel_x panel_y
    s() { echo $((($1 * dpi + 48) / 96)); }  # a length of the 96-dpi design at this density
    IFS=, read -r panel_x panel_y _ < <(control OndrakePicture | cut -d'|' -f3)
    panel_x=$((cx + panel_x)) panel_y=$((cy + panel_y))
    # The buttons: their captions' text inside the face's band, the face's
    # border ring, and its corner.
    while IFS='|' read -r _ name rest; do
        IFS=, read -r x y w h <<<"${rest%%|*}"
        x=$((cx + x)) y=$((cy + y)) m=$((h / 5))
        read -r tw th < <(ink "$file" "$((w - 2 * m))x$((h - 2 * m))+$((x + m))+$((y + m))" 30)
        echo "caption-width:$name $tw"
        echo "caption-height:$name $th"
        read -r bw bh < <(border "$file" "${w}x$h+$x+$y")
        echo "button-width:$name $bw"
        echo "button-height:$name $bh"
        echo "button-corner:$name $(corner "$file" "$x" "$y" $((h / 2)))"
    done < <(control Sollvane.Command)
    # The labels, each in a box of the design around it: text on the
    # panel, the heading inside its frame, the path inside its border.
    while read -r name x y w h; do
        read -r tw th < <(ink "$file" "$(s "$w")x$(s "$h")+$((panel_x + $(s "$x")))+$((panel_y + $(s "$y")))" 30)
        echo "label-width:$name $tw"
        echo "label-height:$name $th"
    done <<'EOF'
BGM 22 22 109 17
音楽CD 34 53 56 19
無し 34 73 56 19
MP3、WAV 34 93 56 19
曲目をﾘﾋﾟｰﾄ 134 53 120 19
path 70 118 353 25
EOF
    # The credit line, on the dialog's darker gradient.
    read -r tw th < <(ink "$file" "$(s 100)x$(s 19)+$((cx + $(s 14)))+$((cy + $(s 203)))" 30)
    echo "label-width:credit $tw"
    echo "label-height:credit $th"
    # The three marks, their grey frames on the panel.
    for y in 56 76 96; do
        read -r tw th < <(ink "$file" "$(s 16)x$(s 18)+$((panel_x + $(s 18)))+$((panel_y + $(s $((y - 2)))))" 75)
        echo "mark-width:$y $tw"
        echo "mark-height:$y $th"
    done
}

# The same settings at every density: MP3、WAV chosen, so that "..." is
# enabled, and a music file whose path takes two lines of its box.
music_folder='C:\Ondrake\Music of the saver for the settings dialog at every display scale'
mkdir -p "$app/${music_folder#C:\\Ondrake\\}"
printf 'ID3' >"$app/${music_folder#C:\\Ondrake\\}/theme.mp3"
write_ini 2 0 "$music_folder\\theme.mp3"
declare -A at96=()
for dpi in 96 120 144 192; do
    set_dpi "$dpi"
    if ! check "${dpi} dpi: the dialog opens" open_dialog; then
        finished scr 10
        continue
    fi
    xdotool mousemove 1020 760
    sleep 0.5
    shot "$T/scale.png"
    IFS=, read -r left top width height < <(info_field rect "$dialog_info")
    convert "$T/scale.png" -crop "${width}x$height+$left+$top" +repage "$artifacts/dialog-${dpi}dpi.png"
    declare -A seen=()
    while read -r name value; do seen[$name]=$value; done < <(scale_measures "$dpi" "$T/scale.png")
    echo "${dpi} dpi: $(for name in "${!seen[@]}"; do echo "$name=${seen[$name]}"; done | sort | tr '\n' ' ')"
    if [ "$dpi" = 96 ]; then
        for name in "${!seen[@]}"; do at96[$name]=${seen[$name]}; done
    fi
    probe close "<Ondrake>" >/dev/null
    finished scr 10
done
set_dpi 96
