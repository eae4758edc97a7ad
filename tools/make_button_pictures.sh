#!/usr/bin/env bash
# Draws the five picture buttons and the window icon with ImageMagick (Debian package imagemagick).
# Each button is a pill with a soft vertical gradient and a white word, written as a GIF (what the
# window shows); the icon is written as GIF and as the BMP the window system takes. Run from anywhere;
# writes into ui/resources/.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/ui/resources"
mkdir -p "$out"
font=$(fc-match -f '%{file}' 'Liberation Sans:bold')

# pill NAME WIDTH HEIGHT TOP_COLOUR BOTTOM_COLOUR EDGE_COLOUR POINTSIZE TEXT
pill() {
  local name=$1 w=$2 h=$3 top=$4 bottom=$5 edge=$6 size=$7 text=$8
  local r=$(( h / 2 - 1 ))
  convert -size "${w}x${h}" xc:none \
    \( -size "${w}x${h}" gradient:"${top}-${bottom}" \) \
    \( -size "${w}x${h}" xc:black -fill white -draw "roundrectangle 0,0 $((w-1)),$((h-1)) $r,$r" \) \
    -delete 0 -alpha off -compose CopyOpacity -composite \
    -fill none -stroke "$edge" -strokewidth 2 -draw "roundrectangle 1,1 $((w-2)),$((h-2)) $((r-1)),$((r-1))" \
    -stroke none -fill 'rgba(255,255,255,0.35)' -draw "roundrectangle $((r/2)),2 $((w-1-r/2)),$((h*2/5)) $((r/2)),$((r/3))" \
    -font "$font" -pointsize "$size" -gravity center -fill '#1a3a1a80' -annotate +1+2 "$text" \
    -fill white -annotate +0+0 "$text" \
    -background '#e3e3e3' -alpha remove -alpha off \
    "$out/$name.png"
  convert "$out/$name.png" -colors 255 "$out/$name.gif"
  rm "$out/$name.png"
}

pill load     219 54 '#7ede5a' '#2e8b1e' '#1d5e12' 26 'Помести'
pill shuffle  219 54 '#7ede5a' '#2e8b1e' '#1d5e12' 26 'Перемешай'
pill newgame  139 34 '#6fb4ff' '#1e5bb8' '#123c7a' 15 'Другую хачу!'
pill exit     139 34 '#6fb4ff' '#1e5bb8' '#123c7a' 17 'Выход'
pill info     139 34 '#6fb4ff' '#1e5bb8' '#123c7a' 17 'Info'

# The icon: a 2 x 2 grid of puzzle cells, one lifted out, in 16 colours.
convert -size 32x32 xc:'#e3e3e3' \
  -fill '#2e8b1e' -draw 'rectangle 2,2 14,14' -fill '#1e5bb8' -draw 'rectangle 17,17 29,29' \
  -fill '#ffcc00' -draw 'rectangle 2,17 14,29' -fill '#cc2222' -draw 'rectangle 19,0 31,12' \
  -fill none -stroke '#000000' -draw 'rectangle 16,16 30,30' -draw 'rectangle 1,1 15,15' \
  -colors 16 "$out/icon.gif"
convert "$out/icon.gif" -type Palette "BMP3:$out/icon.bmp"
