#!/usr/bin/env bash
# Draws the about box's emblem and the desktop icons with ImageMagick (Debian package imagemagick).
#  - ui/resources/emblem.bmp: 32 x 32, 256 colours (8-bit palette BMP), a board cut into four
#    cells with one cell lifted out, over a soft gradient;
#  - packaging/icons/32x32.png: the window icon (ui/resources/icon.gif) as the desktop takes it;
#  - packaging/icons/128x128.png: the same design drawn at four times the size, so the desktop
#    does not have to blow up the small one.
# Run from anywhere. Calls /usr/bin/convert: the real ImageMagick, whatever else is on PATH.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
convert=/usr/bin/convert
mkdir -p "$root/packaging/icons"

# The emblem: more than 16 colours in the gradient, so the BMP is written with 8 bits a pixel.
"$convert" -size 32x32 gradient:'#fff3c4-#e08a2e' \
  -fill '#2e8b1e' -draw 'rectangle 3,3 15,15' -fill '#1e5bb8' -draw 'rectangle 16,16 28,28' \
  -fill '#ffcc00' -draw 'rectangle 3,16 15,28' -fill '#cc2222' -draw 'rectangle 19,1 31,13' \
  -fill none -stroke '#202020' -draw 'rectangle 16,3 28,15' -draw 'rectangle 2,2 29,29' \
  -colors 256 -type Palette -compress None "BMP3:$root/ui/resources/emblem.bmp"

"$convert" "$root/ui/resources/icon.gif" -strip "PNG32:$root/packaging/icons/32x32.png"

# icon.gif's drawing, every coordinate times four (cell edges land on the same relative places).
"$convert" -size 128x128 xc:'#e3e3e3' \
  -fill '#2e8b1e' -draw 'rectangle 8,8 59,59' -fill '#1e5bb8' -draw 'rectangle 68,68 119,119' \
  -fill '#ffcc00' -draw 'rectangle 8,68 59,119' -fill '#cc2222' -draw 'rectangle 76,0 127,51' \
  -fill none -stroke '#000000' -strokewidth 4 -draw 'rectangle 66,66 121,121' -draw 'rectangle 6,6 61,61' \
  -strip "PNG32:$root/packaging/icons/128x128.png"
