#!/usr/bin/env bash
# Draws the sample pictures in samples/ that ship beside the game, one for every way a picture
# can reach the readers: baseline JPEG with restart markers, progressive JPEG, greyscale JPEG,
# 24-bit BMP, 8-bit RLE BMP, 4-bit BMP, still GIF with a transparent colour, looping animated GIF.
# Everything is drawn here with ImageMagick (/usr/bin/convert: the real one, whatever else is on
# PATH) and encoded to JPEG with cjpeg (Debian package libjpeg-turbo-progs); fixed seeds make
# the run repeatable. Run from anywhere.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/samples"
convert=/usr/bin/convert
font=$(fc-match -f '%{file}' 'Liberation Sans:bold')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
W=640 H=448

# Evening over the mountains: sky gradient with a few stars, the sun above three ridges, pines and
# a cabin on the shore, a lake that mirrors it all with a glitter of sunlight.
"$convert" -size ${W}x280 gradient:'#1b2a6b-#ff9a3c' \
  -fill '#fff6d0' -draw 'point 40,30' -draw 'point 120,60' -draw 'point 210,22' -draw 'point 560,40' -draw 'point 610,80' \
  -fill '#ffe27a' -draw 'circle 430,110 430,70' \
  -fill '#6b4f8a' -draw 'polygon 0,280 0,170 90,120 170,190 260,100 350,200 420,150 520,230 640,130 640,280' \
  -fill '#ffffff' -draw 'polygon 243,114 260,100 277,116 268,112 260,118 252,111' -draw 'polygon 620,146 640,130 640,150 632,144' \
  -fill '#3f3566' -draw 'polygon 0,280 0,230 120,180 210,240 300,190 400,250 500,200 640,240 640,280' \
  -fill '#1d5b34' -draw 'polygon 0,280 0,262 80,248 160,266 260,244 360,268 470,250 560,264 640,252 640,280' \
  -fill '#0f3d22' -draw 'polygon 60,262 72,222 84,262' -draw 'polygon 84,262 98,212 112,262' -draw 'polygon 520,266 532,226 544,266' \
  -fill '#c0392b' -draw 'polygon 300,252 322,234 344,252' -fill '#e8c27a' -draw 'rectangle 304,252 340,270' \
  -fill '#ffe27a' -draw 'rectangle 318,258 326,266' \
  "$work/top.png"
"$convert" "$work/top.png" -flip -modulate 80,90 -fill '#20407080' -colorize 30 \
  -crop ${W}x168+0+0 +repage \
  -fill '#ffe9a0' -draw 'rectangle 400,40 460,42' -draw 'rectangle 410,60 450,62' -draw 'rectangle 418,82 442,84' \
  "$work/lake.png"
"$convert" "$work/top.png" "$work/lake.png" -append "$work/mountains.ppm"
cjpeg -quality 88 -restart 4 -outfile "$out/mountains.jpg" "$work/mountains.ppm"

# A seeded plasma with a swirl, for a progressive JPEG full of colour.
"$convert" -seed 7 -size ${W}x${H} plasma:'#ff4060-#3080ff' -blur 0x2 -swirl 120 \
  -font "$font" -pointsize 56 -fill '#ffffffc0' -gravity south -annotate +0+24 'KVADRIKO' \
  "$work/plasma.ppm"
cjpeg -quality 85 -progressive -outfile "$out/plasma.jpg" "$work/plasma.ppm"

# Stones on sand: irregular grey pebbles, for a greyscale JPEG.
# (awk writes the drawing one argument a line; mapfile turns the lines into arguments.)
mapfile -t args < <(awk 'BEGIN { srand(11); for (i = 0; i < 46; i++) {
    x = int(rand() * 640); y = int(rand() * 448); rx = 18 + int(rand() * 40); ry = 12 + int(rand() * 28);
    g = 60 + int(rand() * 150); printf "-fill\nrgb(%d,%d,%d)\n-draw\nellipse %d,%d %d,%d 0,360\n", g, g, g, x, y, rx, ry } }')
"$convert" -size ${W}x${H} xc:'#c8c0b0' -seed 11 +noise Gaussian -blur 0x1 "${args[@]}" \
  -colorspace Gray -depth 8 "$work/stones.pgm"
cjpeg -quality 90 -grayscale -outfile "$out/stones.jpg" "$work/stones.pgm"

# A garden of flowers on a lawn, as a 24-bit BMP.
mapfile -t args < <(awk 'BEGIN { srand(23); split("#e63946 #f1fa3c #ffffff #9b5de5 #ff8fab #f77f00", c, " ");
      for (i = 0; i < 38; i++) { x = 20 + int(rand() * 600); y = 20 + int(rand() * 408); r = 10 + int(rand() * 16);
        col = c[1 + int(rand() * 6)];
        for (a = 0; a < 6; a++) { px = x + int(r * cos(a * 1.047)); py = y + int(r * sin(a * 1.047));
          printf "-fill\n%s\n-draw\ncircle %d,%d %d,%d\n", col, px, py, px + int(r * 0.6), py }
        printf "-fill\n#ffb000\n-draw\ncircle %d,%d %d,%d\n", x, y, x + int(r * 0.45), y } }')
"$convert" -size ${W}x${H} gradient:'#8fd16a-#2f7a2a' "${args[@]}" -type TrueColor "BMP3:$out/garden.bmp"

# Coloured tiles of a mosaic: flat colours in long runs, as an 8-bit RLE BMP.
mapfile -t args < <(awk 'BEGIN { srand(5); for (y = 0; y < 448; y += 56) for (x = 0; x < 640; x += 80) {
    printf "-fill\nrgb(%d,%d,%d)\n-draw\nrectangle %d,%d %d,%d\n", 40 + int(rand() * 200), 40 + int(rand() * 200),
      40 + int(rand() * 200), x, y, x + 79, y + 55 } }')
"$convert" -size ${W}x${H} xc:'#f4efe1' -stroke '#f4efe1' -strokewidth 4 "${args[@]}" \
  -stroke none -fill '#1d3557' -draw 'circle 320,224 320,120' -fill '#f4efe1' -draw 'circle 320,224 320,170' \
  -colors 200 -type Palette -compress RLE "BMP3:$out/mosaic.bmp"

# Sailing boats on waves in sixteen colours, as a 4-bit BMP.
"$convert" -size ${W}x${H} gradient:'#9fd8ff-#2a6fb0' \
  -fill '#ffd23f' -draw 'circle 90,80 90,40' \
  -fill '#1d4e89' -draw 'path "M 0,300 Q 80,270 160,300 T 320,300 T 480,300 T 640,300 L 640,448 L 0,448 Z"' \
  -fill '#5c3d2e' -draw 'polygon 150,300 330,300 300,330 180,330' -fill '#ffffff' -draw 'polygon 240,290 240,140 320,290' \
  -fill '#e63946' -draw 'polygon 232,290 232,170 170,290' \
  -fill '#5c3d2e' -draw 'polygon 420,260 540,260 520,282 440,282' -fill '#fff3b0' -draw 'polygon 480,252 480,150 540,252' \
  -colors 16 -type Palette -compress None "BMP3:$out/boats.bmp"

# Balloons in a sky with round corners, as a still GIF: the corners are the transparent colour
# (the preview shows the window behind them; converted for the board they read as black).
"$convert" -size ${W}x${H} xc:'#ff00ff' +antialias \
  -fill '#aee2ff' -draw 'roundrectangle 0,0 639,447 56,56' \
  -fill '#ffffff' -draw 'ellipse 90,70 60,18 0,360' -draw 'ellipse 130,60 40,20 0,360' \
  -draw 'ellipse 560,330 55,16 0,360' -draw 'ellipse 520,320 36,18 0,360' \
  -stroke '#333333' -strokewidth 2 -draw 'line 160,260 200,430' -draw 'line 320,220 320,430' -draw 'line 480,270 440,430' \
  -stroke none -fill '#e63946' -draw 'ellipse 160,180 70,90 0,360' -fill '#ffd23f' -draw 'ellipse 320,140 80,100 0,360' \
  -fill '#3a86ff' -draw 'ellipse 480,190 70,90 0,360' \
  -fill '#ffffff90' -draw 'ellipse 135,140 14,24 0,360' -draw 'ellipse 290,100 16,26 0,360' -draw 'ellipse 455,150 14,24 0,360' \
  -font "$font" -pointsize 44 -fill '#2b2d42' -gravity south -annotate +0+10 'Ура!' \
  -transparent '#ff00ff' -colors 64 "GIF:$out/balloons.gif"

# A turning windmill over a field, eight frames that loop for ever.
frames=()
for i in 0 1 2 3 4 5 6 7; do
  angle=$(( i * 11 ))
  "$convert" -size 320x224 gradient:'#bfe6ff-#e8f7ff' \
    -fill '#6abf4b' -draw 'rectangle 0,170 319,223' -fill '#f2d16b' -draw 'rectangle 0,196 319,223' \
    -fill '#8d5a3b' -draw 'polygon 148,180 172,180 166,80 154,80' \
    -fill '#c44536' -draw "translate 160,80 rotate $angle polygon 0,0 -8,-70 8,-70 polygon 0,0 70,-8 70,8 polygon 0,0 -8,70 8,70 polygon 0,0 -70,-8 -70,8" \
    -fill '#333333' -draw 'circle 160,80 160,86' "$work/frame$i.png"
  frames+=("$work/frame$i.png")
done
"$convert" -delay 12 -loop 0 "${frames[@]}" -layers Optimize "GIF:$out/windmill.gif"

ls -l "$out"
