#!/usr/bin/env bash
# Draws the editor's skin pictures with ImageMagick. Run by hand after a change; the PNG files
# are committed and compiled into the program (vx_embed_pictures), so a build needs no ImageMagick.
# Colours follow the GTK desktop: window background #f6f5f4, borders #c0bfbc, accent #3584e4.
set -euo pipefail
cd "$(dirname "$0")"
png() { convert "$@"; }   # every picture is written as 32-bit RGBA (PNG32:)

# home_frame (bitmap 341, 42 x 42): the start page's frame. 14-pixel corners, the 14-pixel strips
# between them are stretched along the sides; inside the frame the page is white.
png -size 42x42 xc:'#f6f5f4' \
  -fill 'rgba(0,0,0,0.05)' -stroke none -draw 'roundrectangle 5,6 37,38 9,9' \
  -fill 'rgba(0,0,0,0.07)' -draw 'roundrectangle 6,7 36,37 8,8' \
  -fill white -stroke '#c0bfbc' -strokewidth 1 -draw 'roundrectangle 6.5,6.5 35.5,35.5 7,7' \
  PNG32:home_frame.png

# button_pressed_frame (bitmap 343) and button_hover_frame (342), 15 x 60: drawn over a start
# page button's picture; 5 columns on each side stay, the middle 5 are stretched to 345 pixels.
png -size 15x60 xc:none \
  -fill 'rgba(53,132,228,0.16)' -stroke 'rgba(28,113,216,0.55)' -strokewidth 1 \
  -draw 'roundrectangle 0.5,0.5 14.5,59.5 4,4' \
  -stroke 'rgba(0,0,0,0.10)' -draw 'line 2,1.5 12,1.5' \
  PNG32:button_pressed_frame.png
png -size 15x60 xc:none \
  -fill 'rgba(255,255,255,0)' -stroke '#3584e4' -strokewidth 1.4 \
  -draw 'roundrectangle 0.7,0.7 14.3,59.3 4,4' \
  PNG32:button_hover_frame.png

# home_open (PNG 345, 35 x 35): an open folder with a waveform on its paper.
png -size 35x35 xc:none -stroke none \
  -fill '#3584e4' -draw 'roundrectangle 2,6 33,31 3,3' \
  -fill '#1c71d8' -draw 'roundrectangle 2,4 14,9 2,2' \
  -fill white -draw 'rectangle 6,9 29,27' \
  -stroke '#3584e4' -strokewidth 1.3 -fill none \
  -draw 'polyline 8,18 10,18 11,14 13,22 15,12 17,24 19,15 21,20 23,17 25,18 27,18' \
  -stroke none -fill '#62a0ea' -draw 'polygon 2,31 5,20 34,20 31,31' \
  -fill 'rgba(255,255,255,0.35)' -draw 'polygon 5,21 34,21 33.7,22 4.8,22' \
  PNG32:home_open.png

# home_stereo (PNG 344, 35 x 35): two speakers sending sound towards each other.
png -size 35x35 xc:none -stroke none \
  -fill '#5e5c64' -draw 'roundrectangle 1,8 9,27 2,2' -draw 'roundrectangle 25,8 33,27 2,2' \
  -fill '#c0bfbc' -draw 'circle 5,21.5 5,18.7' -draw 'circle 29,21.5 29,18.7' \
  -draw 'circle 5,13 5,11.6' -draw 'circle 29,13 29,11.6' \
  -fill none -stroke '#3584e4' -strokewidth 1.5 \
  -draw 'arc 6,14.5 14,22.5 -50,50' -draw 'arc 3,11.5 17,25.5 -45,45' \
  -draw 'arc 20,14.5 28,22.5 130,230' -draw 'arc 17,11.5 31,25.5 135,225' \
  PNG32:home_stereo.png

# slider_thumb (bitmap 340, 14 x 13): the volume slider's thumb, normal in columns 0-6,
# highlighted in columns 7-13.
png -size 7x13 gradient:'#ffffff-#deddda' \( -size 7x13 xc:none -fill white -draw 'roundrectangle 0,0 6,12 2,2' \) \
  -compose DstIn -composite -fill none -stroke '#9a9996' -draw 'roundrectangle 0.5,0.5 6.5,12.5 2,2' \
  PNG32:/tmp/vx_thumb_n.png
png -size 7x13 gradient:'#f4f8fe-#c4dcf8' \( -size 7x13 xc:none -fill white -draw 'roundrectangle 0,0 6,12 2,2' \) \
  -compose DstIn -composite -fill none -stroke '#3584e4' -draw 'roundrectangle 0.5,0.5 6.5,12.5 2,2' \
  PNG32:/tmp/vx_thumb_h.png
png /tmp/vx_thumb_n.png /tmp/vx_thumb_h.png +append +repage PNG32:slider_thumb.png
rm -f /tmp/vx_thumb_n.png /tmp/vx_thumb_h.png
