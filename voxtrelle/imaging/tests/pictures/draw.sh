#!/usr/bin/env bash
# Draws the imaging tests' probe pictures (run by hand after a change; the results are committed).
set -euo pipefail
cd "$(dirname "$0")"
# 3 x 2: opaque red, opaque green, opaque blue / half-transparent white, transparent, opaque black.
convert -size 3x2 xc:none \
  -fill 'rgba(255,0,0,1)' -draw 'point 0,0' \
  -fill 'rgba(0,255,0,1)' -draw 'point 1,0' \
  -fill 'rgba(0,0,255,1)' -draw 'point 2,0' \
  -fill 'rgba(255,255,255,0.5)' -draw 'point 0,1' \
  -fill 'rgba(0,0,0,1)' -draw 'point 2,1' \
  -define png:color-type=6 PNG32:probe.png
# A file that claims to be a picture but is not one.
printf 'not a picture\n' > not_a_picture.png
