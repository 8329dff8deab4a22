#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# make_chord.sh SOX OUT.wav: synthesizes the warning sound, a plucked C major chord of 0.7 s
# that dies away, as 16-bit mono PCM (about 60 KiB, well under the player's 1 MiB limit).
set -eu
sox=$1 out=$2
"$sox" -q -n -r 44100 -c 3 -b 16 -t wav - synth 0.7 pluck C5 pluck E5 pluck G5 |
  "$sox" -q -t wav - -r 44100 -c 1 -b 16 -t wav "$out.part" remix - fade 0 0.7 0.4 gain -n -6
mv "$out.part" "$out"
