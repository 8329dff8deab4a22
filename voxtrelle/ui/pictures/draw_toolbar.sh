#!/usr/bin/env bash
# Draws the editor window's own pictures with ImageMagick: the toolbar's 24 x 24 images, the
# selection bar's two 7 x 7 marks and the marker-drag pointer. Run by hand after a change; the
# PNG files are committed and compiled into the program.
# Colours follow the GTK desktop: dark ink #3d3846, accent #3584e4, green #2ec27e, red #e01b24.
set -euo pipefail
cd "$(dirname "$0")"
# No time stamps in the files, so redrawing an unchanged picture changes nothing.
png() { convert "${@:1:$#-1}" -define png:exclude-chunk=date,time,tIME "${@: -1}"; }
ink='#3d3846'

# Open: a folder.
png -size 24x24 xc:none -stroke none \
  -fill '#1c71d8' -draw 'roundrectangle 2,4 10,8 1.5,1.5' \
  -fill '#3584e4' -draw 'roundrectangle 2,6 21,20 2,2' \
  -fill white -draw 'rectangle 5,8 18,17' \
  -fill '#62a0ea' -draw 'polygon 2,20 4,12 23,12 21,20' \
  PNG32:toolbar_open.png

# Save: a tray with an arrow going down into it.
png -size 24x24 xc:none -stroke "$ink" -strokewidth 2 -fill none \
  -draw 'polyline 4,14 4,20 20,20 20,14' \
  -stroke none -fill '#3584e4' \
  -draw 'rectangle 10,3 13,11' -draw 'polygon 6,10 17,10 11.5,16' \
  PNG32:toolbar_save.png

# Play: a triangle pointing right.
png -size 24x24 xc:none -stroke none -fill '#26a269' \
  -draw 'polygon 7,4 19,12 7,20' PNG32:toolbar_play.png

# Pause: two bars.
png -size 24x24 xc:none -stroke none -fill "$ink" \
  -draw 'roundrectangle 6,5 10,19 1,1' -draw 'roundrectangle 14,5 18,19 1,1' \
  PNG32:toolbar_pause.png

# Stop: a square.
png -size 24x24 xc:none -stroke none -fill '#c01c28' \
  -draw 'roundrectangle 6,6 18,18 1.5,1.5' PNG32:toolbar_stop.png

# Set Start: an opening bracket at a play line, the selection running to the right.
png -size 24x24 xc:none -stroke none \
  -fill 'rgba(53,132,228,0.35)' -draw 'rectangle 10,7 21,17' \
  -fill "$ink" -draw 'rectangle 6,3 8,21' -draw 'rectangle 6,3 11,5' -draw 'rectangle 6,19 11,21' \
  PNG32:toolbar_set_start.png

# Set End: the closing bracket, the selection running to the left.
png -size 24x24 xc:none -stroke none \
  -fill 'rgba(53,132,228,0.35)' -draw 'rectangle 2,7 13,17' \
  -fill "$ink" -draw 'rectangle 15,3 17,21' -draw 'rectangle 12,3 17,5' -draw 'rectangle 12,19 17,21' \
  PNG32:toolbar_set_end.png

# Select All: a waveform inside a filled selection.
png -size 24x24 xc:none -stroke none \
  -fill 'rgba(53,132,228,0.35)' -draw 'rectangle 2,4 21,19' \
  -stroke '#1c71d8' -strokewidth 1 -fill none -draw 'rectangle 2.5,4.5 21.5,19.5' \
  -stroke "$ink" -strokewidth 1.5 \
  -draw 'polyline 4,12 6,12 7,8 9,16 11,6 13,17 15,9 17,14 19,12 20,12' \
  PNG32:toolbar_select_all.png

# Deselect: the same waveform with a dashed, empty frame.
png -size 24x24 xc:none \
  -stroke '#77767b' -strokewidth 1 -fill none -draw 'stroke-dasharray 2 2 rectangle 2.5,4.5 21.5,19.5' \
  -stroke "$ink" -strokewidth 1.5 \
  -draw 'polyline 4,12 6,12 7,8 9,16 11,6 13,17 15,9 17,14 19,12 20,12' \
  PNG32:toolbar_deselect.png

# Website: a globe.
png -size 24x24 xc:none -fill 'rgba(53,132,228,0.15)' -stroke '#1c71d8' -strokewidth 1.5 \
  -draw 'circle 12,12 12,3' -fill none -strokewidth 1.2 \
  -draw 'ellipse 12,12 4,9 0,360' -draw 'line 3.5,12 20.5,12' \
  -draw 'line 5,7.5 19,7.5' -draw 'line 5,16.5 19,16.5' \
  PNG32:toolbar_website.png

# Selection marks (bitmaps 335 and 336, 7 x 7): small flags whose straight edge touches the
# selection boundary: the start mark's right edge, the end mark's left edge.
png -size 7x7 xc:none -stroke none -fill '#2a7e3a' -draw 'polygon 6,0 6,6 0,6' \
  -fill '#8fd19a' -draw 'polygon 5,2 5,5 2,5' PNG32:mark_start.png
png -size 7x7 xc:none -stroke none -fill '#2a7e3a' -draw 'polygon 0,0 0,6 6,6' \
  -fill '#8fd19a' -draw 'polygon 1,2 1,5 4,5' PNG32:mark_end.png

# Marker-drag pointer (cursor 338, 32 x 32, hot spot 15,15): a bar with arrows to both sides.
png -size 32x32 xc:none -stroke white -strokewidth 3 -fill black \
  -draw 'line 15,7 15,23' -draw 'line 6,15 24,15' \
  -draw 'polygon 4,15 9,10 9,20' -draw 'polygon 26,15 21,10 21,20' \
  -stroke none -fill black \
  -draw 'rectangle 14,7 16,23' -draw 'rectangle 6,14 24,16' \
  -draw 'polygon 4,15 9,10 9,20' -draw 'polygon 26,15 21,10 21,20' \
  PNG32:marker_cursor.png
