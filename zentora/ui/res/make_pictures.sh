#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the cutter's pictures (toolbar strips, markers, thumb, play image, the cutting
# animation) with ImageMagick. Run it from anywhere after changing a drawing; the PNG/GIF files
# it writes beside itself are committed and compiled into the program.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT

BOLD=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
SANS=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
INK='#2f3a45'

cell() { convert -size 45x32 xc:none "$@"; }

# One 45 x 32 cell per toolbar image.
cell -fill '#f2c14e' -stroke '#a67c1a' -strokewidth 1 \
  -draw 'path "M 9,9 L 18,9 L 21,12 L 36,12 L 36,26 L 9,26 Z"' \
  -fill '#f7d77f' -draw 'path "M 9,26 L 13,15 L 40,15 L 36,26 Z"' "$tmp/open.png"
cell -fill '#2e9d4f' -stroke '#1d6b35' -draw 'polygon 16,7 16,25 31,16' "$tmp/play.png"
cell -fill '#d06a1f' -stroke '#8f4712' -draw 'rectangle 15,8 20,24' -draw 'rectangle 25,8 30,24' "$tmp/pause.png"
cell -fill "$INK" -draw 'polygon 11,9 11,23 22,16' -draw 'polygon 22,9 22,23 33,16' "$tmp/forward.png"
cell -fill "$INK" -draw 'polygon 34,9 34,23 23,16' -draw 'polygon 23,9 23,23 12,16' "$tmp/back.png"
abkey() { # $1 = label, $2 = colour, $3 = output
  cell -fill none -stroke "$2" -strokewidth 2 -draw 'roundrectangle 9,5 36,27 4,4' \
    -stroke none -fill "$2" -font "$BOLD" -pointsize 15 -gravity center -annotate +0+0 "$1" "$3"
}
abkey 'A' '#1f6fc5' "$tmp/seta.png"
abkey 'B' '#b8322a' "$tmp/setb.png"
abkey 'AB' '#6b6b6b' "$tmp/clearab.png"
convert "$tmp/clearab.png" -stroke '#b8322a' -strokewidth 2 -draw 'line 11,25 34,7' "$tmp/clearab.png"
cell -fill "$INK" -font "$SANS" -pointsize 24 -gravity center -annotate +0+0 '✂' "$tmp/cut.png"
tune() { # $1 = letter, $2 = sign, $3 = colour, $4 = output
  cell -fill "$3" -font "$BOLD" -pointsize 16 -gravity center -annotate -5+0 "$1" \
    -fill "$INK" -annotate +8-1 "$2" "$4"
}
tune a + '#1f6fc5' "$tmp/aplus.png"
tune a − '#1f6fc5' "$tmp/aminus.png"
tune b + '#b8322a' "$tmp/bplus.png"
tune b − '#b8322a' "$tmp/bminus.png"

# Strips: the play/pause image and the A-B image follow the state.
strip() { # $1 = id, $2 = play or pause, $3 = A-B image
  convert "$tmp/open.png" "$tmp/$2.png" "$tmp/forward.png" "$tmp/back.png" "$tmp/$3.png" \
    "$tmp/cut.png" "$tmp/aplus.png" "$tmp/aminus.png" "$tmp/bplus.png" "$tmp/bminus.png" \
    +append "strip$1.png"
}
strip 139 pause clearab
strip 140 pause seta
strip 141 pause setb
strip 143 play seta
strip 144 play setb
strip 145 play clearab
# 142: the position bar's thumb, 13 x 13.
convert -size 13x13 xc:none -fill '#5b6b7a' -stroke '#2f3a45' -draw 'polygon 6,0 12,6 12,12 0,12 0,6' thumb142.png
# 146: the large play image of the time panel, 64 x 64.
convert -size 64x64 xc:none -fill '#e9f5ec' -stroke '#2e9d4f' -strokewidth 3 -draw 'circle 32,32 32,3' \
  -stroke none -fill '#2e9d4f' -draw 'polygon 24,17 24,47 48,32' play146.png
# 147: shown when nothing is loaded: a music note over a disc, 48 x 48.
convert -size 48x48 xc:none -fill '#e6e9ed' -stroke '#b4bcc6' -strokewidth 2 -draw 'circle 24,24 24,2' \
  -stroke none -fill '#8793a0' -draw 'ellipse 19,33 6,4.5 0,360' -draw 'rectangle 23,12 25,33' \
  -draw 'polygon 25,12 34,16 34,20 25,16' notloaded147.png
# 148 / 149: the A and B markers, 6 x 10, pointing down at the track.
convert -size 6x10 xc:none -fill '#1f6fc5' -draw 'rectangle 0,0 5,5' -draw 'polygon 0,6 5,6 2.5,9' markera148.png
convert -size 6x10 xc:none -fill '#b8322a' -draw 'rectangle 0,0 5,5' -draw 'polygon 0,6 5,6 2.5,9' markerb149.png
# 107 / 108: the program icon is drawn in data/icons/zentora.svg and rendered at build time.
# 150: the cutting animation, eight frames of a scissors moving along a dashed line, on the
# default dialog background.
frames=()
for i in 0 1 2 3 4 5 6 7; do
  x=$((6 + i * 9))
  convert -size 96x40 xc:'#f6f5f4' -stroke '#8793a0' -strokewidth 2 -draw 'stroke-dasharray 4 3 line 4,28 92,28' \
    -stroke none -fill '#2f3a45' -font "$SANS" -pointsize 26 -annotate "+$x+34" '✂' "$tmp/f$i.gif"
  frames+=("$tmp/f$i.gif")
done
convert -delay 12 -loop 0 "${frames[@]}" cutting150.gif
# No time stamps or other metadata, so drawing again changes only what was redrawn.
mogrify -strip -define png:exclude-chunks=date,time ./*.png
