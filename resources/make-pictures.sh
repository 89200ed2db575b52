#!/usr/bin/env bash
# Draws every picture of the program: the button faces (normal, pressed, inactive), the logo,
# the decorative picture of the main page, the window and tree icons, the hand cursor and the
# program's icon in the sizes of the desktop's icon theme.
# The results are committed; run this again only to change a picture.
# Needs ImageMagick and the Liberation fonts (scripts/install-deps.sh installs both).
set -euo pipefail
cd "$(dirname "$0")"

font_dir=/usr/share/fonts/truetype/liberation
bold="$font_dir/LiberationSans-Bold.ttf"
regular="$font_dir/LiberationSans-Regular.ttf"
for f in "$bold" "$regular"; do
    [ -f "$f" ] || { echo "missing font $f (install fonts-liberation)" >&2; exit 1; }
done

# The window background, so the rounded corners of a face blend into the page.
window_bg='#FFFFCC'

mkdir -p bitmaps icons cursors

# Writes a PNG without time stamps, so a second run gives the same bytes. The last argument
# is the output file.
save() {
    local out=${!#}
    convert "${@:1:$#-1}" -depth 8 -strip -define png:exclude-chunks=date,time "$out"
}

# button FILE WIDTH HEIGHT STATE CAPTION
# STATE: normal (raised, calm blue), pressed (darker, inset, text 1 px down-right),
# inactive (greyed, flat).
button() {
    local file=$1 w=$2 h=$3 state=$4 caption=$5
    local top bottom border text light dark dx=0 dy=0 size=13
    [ "$w" -lt 100 ] && size=12
    case $state in
        normal)   top='#8FB0D6'; bottom='#4F73A0'; border='#38557A'; text='#FFFFFF'
                  light='#C4D6EC'; dark='#2F4869' ;;
        pressed)  top='#3E5E88'; bottom='#5A7EAA'; border='#2A3F5C'; text='#F2F2F2'
                  light='#6D8DB6'; dark='#1F3047'; dx=1; dy=1 ;;
        inactive) top='#E4E4DC'; bottom='#CACAC2'; border='#A9A9A1'; text='#8E8E88'
                  light='#F2F2EC'; dark='#B4B4AC' ;;
    esac
    local r=6 x1=$((w - 1)) y1=$((h - 1))
    local edges
    if [ "$state" = pressed ]; then
        # Shadow on the upper and left inner edge: the face looks pushed in.
        edges="-stroke '$dark' -draw 'line 3,1 $((w - 4)),1' -draw 'line 1,3 1,$((h - 4))'"
        edges+=" -stroke '$light' -draw 'line 3,$((h - 2)) $((w - 4)),$((h - 2))'"
    else
        # Light upper edge and a darker lower edge: the face stands out.
        edges="-stroke '$light' -draw 'line 3,1 $((w - 4)),1' -draw 'line 1,3 1,$((h - 4))'"
        edges+=" -stroke '$dark' -draw 'line 3,$((h - 2)) $((w - 4)),$((h - 2))'"
        edges+=" -draw 'line $((w - 2)),3 $((w - 2)),$((h - 4))'"
    fi
    eval save -size "${w}x${h}" "gradient:'$top-$bottom'" \
        "\\( -size ${w}x${h} xc:none -fill white -draw 'roundrectangle 0,0 $x1,$y1 $r,$r' \\)" \
        -compose DstIn -composite -compose Over \
        "\\( -size ${w}x${h} xc:'$window_bg' \\)" +swap -composite \
        -fill none -strokewidth 1 "$edges" \
        -stroke "'$border'" -draw "'roundrectangle 0,0 $x1,$y1 $r,$r'" \
        -stroke none -font "'$bold'" -pointsize "$size" -gravity center \
        -fill "'$text'" -annotate "+$dx+$((dy + 1))" "'$caption'" \
        -type TrueColor "'bitmaps/$file.png'"
}

# Three faces of one command: numbers for normal, pressed and (optional) inactive.
command_faces() {
    local w=$1 caption=$2 normal=$3 pressed=$4 inactive=${5:-}
    button "$normal" "$w" 34 normal "$caption"
    button "$pressed" "$w" 34 pressed "$caption"
    [ -n "$inactive" ] && button "$inactive" "$w" 34 inactive "$caption"
    return 0
}

# The editor's side buttons, 76 x 34.
command_faces 76 'Quelle >>' 100 101 136
command_faces 76 'Entfernen' 102 103
command_faces 76 'Alle entf.' 104 105
command_faces 76 'Ziel >>' 106 107 135

# The page buttons, 120 x 34. The discard button is the one whose pressed face has the lower
# number.
command_faces 120 'Speichern' 108 109 110
command_faces 120 'Verwerfen' 112 111
command_faces 120 'Aktualisieren' 114 115
command_faces 120 'Neue Sicherung' 116 117
command_faces 120 'Bearbeiten' 118 119 120
command_faces 120 'Löschen' 121 122 123
command_faces 120 'Jetzt sichern' 124 125 126
command_faces 120 'Log anzeigen' 127 128
command_faces 120 'Beenden' 129 130
command_faces 120 'Log löschen' 131 132
command_faces 120 'Schliessen' 133 134

# The emblem: a safe door with its wheel, drawn at the given offset and size 48 x 48.
emblem() {
    local x=$1 y=$2
    echo "-fill '#4F73A0' -stroke '#2F4869' -strokewidth 2" \
        "-draw 'roundrectangle $x,$y $((x + 47)),$((y + 47)) 8,8'" \
        "-fill '#FFFFCC' -stroke '#2F4869' -draw 'circle $((x + 24)),$((y + 24)) $((x + 24)),$((y + 9))'" \
        "-fill none -stroke '#4F73A0' -strokewidth 3" \
        "-draw 'line $((x + 24)),$((y + 12)) $((x + 24)),$((y + 36))'" \
        "-draw 'line $((x + 12)),$((y + 24)) $((x + 36)),$((y + 24))'" \
        "-fill '#4F73A0' -stroke none -draw 'circle $((x + 24)),$((y + 24)) $((x + 24)),$((y + 19))'"
}

# The logo of the about window, 173 x 84.
eval save -size 173x84 "gradient:'#FFFFE6-#F2EAB0'" \
    -fill none -stroke "'#C9B96A'" -draw "'rectangle 0,0 172,83'" \
    "$(emblem 10 18)" \
    -stroke none -fill "'#38557A'" -font "'$bold'" -pointsize 24 \
    -annotate +66+42 "'Vaultrix'" \
    -fill "'#6A6A5A'" -font "'$regular'" -pointsize 15 -annotate +67+62 "'Version 1.0'" \
    -type TrueColor bitmaps/142.png

# The decorative picture of the main page, 122 x 302: the emblem above a stack of folders and
# the program's purpose in three words.
folder_stack=""
for i in 0 1 2; do
    fy=$((142 + i * 26))
    folder_stack+=" -fill '#E9C85A' -stroke '#A8872A' -strokewidth 1"
    folder_stack+=" -draw 'roundrectangle 30,$fy 92,$((fy + 34)) 3,3'"
    folder_stack+=" -draw 'roundrectangle 30,$((fy - 5)) 56,$((fy + 2)) 2,2'"
    folder_stack+=" -fill '#F6E08E' -draw 'roundrectangle 30,$((fy + 5)) 92,$((fy + 34)) 3,3'"
done
eval save -size 122x302 "gradient:'#FFFFE0-#EFE4A8'" \
    -fill none -stroke "'#C9B96A'" -draw "'rectangle 0,0 121,301'" \
    "$(emblem 37 22)" \
    -stroke none -fill "'#38557A'" -font "'$bold'" -pointsize 18 -gravity north \
    -annotate +0+82 "'Vaultrix'" \
    -fill "'#6A6A5A'" -font "'$regular'" -pointsize 12 -annotate +0+104 "'Version 1.0'" \
    -gravity northwest "$folder_stack" \
    -gravity south -stroke none -fill "'#38557A'" -font "'$bold'" -pointsize 12 \
    -annotate +0+16 "'sicher.'" -annotate +0+32 "'automatisch.'" -annotate +0+48 "'zeitgesteuert.'" \
    -type TrueColor bitmaps/145.png

# program_icon SIZE FILE: the program's icon drawn at SIZE x SIZE, its 64 x 64 drawing scaled,
# so every size is drawn sharp rather than resized from another.
program_icon() {
    local size=$1 file=$2 scale
    scale=$(awk "BEGIN { print $size / 64 }")
    eval save -size "${size}x${size}" xc:none -affine "$scale,0,0,$scale,0,0" \
        -fill "'#4F73A0'" -stroke "'#2F4869'" -strokewidth 2 -draw "'roundrectangle 2,2 61,61 12,12'" \
        -fill "'#FFFFCC'" -draw "'circle 32,32 32,12'" \
        -fill none -stroke "'#4F73A0'" -strokewidth 4 \
        -draw "'line 32,16 32,48'" -draw "'line 16,32 48,32'" \
        -fill "'#4F73A0'" -stroke none -draw "'circle 32,32 32,25'" \
        -fill "'#FFFFCC'" -draw "'circle 32,32 32,29'" \
        "PNG32:$file"
}

# Icon 100: the program, window and tray icon, 64 x 64.
program_icon 64 icons/100.png
# The same icon for the desktop's icon theme (installed on Linux, see CMakeLists.txt).
for size in 16 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    program_icon "$size" "hicolor/${size}x${size}/apps/vaultrix.png"
done

# Tree images, 16 x 16 with transparency. 101: a file. 102: a closed folder, shown for drives
# and folders. 103: an open folder (kept for the image list, no item shows it).
save -size 16x16 xc:none \
    -fill white -stroke '#55554D' -strokewidth 1 \
    -draw 'polygon 3,1 10,1 13,4 13,14 3,14' \
    -fill '#D8D8D0' -draw 'polygon 10,1 10,4 13,4' \
    -stroke '#8A9DB8' -draw 'line 5,7 11,7' -draw 'line 5,9 11,9' -draw 'line 5,11 9,11' \
    PNG32:icons/101.png
save -size 16x16 xc:none \
    -fill '#D9B441' -stroke '#8C6F17' -strokewidth 1 \
    -draw 'polygon 1,3 6,3 7,5 14,5 14,13 1,13' \
    -fill '#F2D46E' -stroke none -draw 'rectangle 2,7 13,12' \
    PNG32:icons/102.png
save -size 16x16 xc:none \
    -fill '#D9B441' -stroke '#8C6F17' -strokewidth 1 \
    -draw 'polygon 1,3 6,3 7,5 13,5 13,7 1,13' \
    -fill '#F2D46E' -draw 'polygon 3,7 15,7 12,13 1,13' \
    PNG32:icons/103.png

# Cursor 100: a hand with the index finger up, 32 x 32; the fingertip (its hotspot) is at
# (10, 0). The outline comes from drawing the shapes twice: wide in black, then white inside.
hand_shapes="-draw 'roundrectangle 8,1 13,18 2,2' -draw 'roundrectangle 13,9 17,18 2,2'"
hand_shapes+=" -draw 'roundrectangle 17,10 21,19 2,2' -draw 'roundrectangle 21,12 25,20 2,2'"
hand_shapes+=" -draw 'polygon 3,16 6,14 9,19 8,22' -draw 'roundrectangle 6,16 25,28 4,4'"
eval save -size 32x32 xc:none \
    -fill black -stroke black -strokewidth 2 "$hand_shapes" \
    -fill white -stroke none "$hand_shapes" \
    -stroke black -strokewidth 1 -draw "'line 13,12 13,17'" -draw "'line 17,13 17,18'" \
    -draw "'line 21,14 21,19'" \
    PNG32:cursors/100.png

echo "pictures written to $(pwd)/bitmaps, icons, cursors and hicolor"
