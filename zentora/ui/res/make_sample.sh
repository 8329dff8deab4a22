#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# make_sample.sh SOX GST_LAUNCH OUT.mp3: synthesizes the sample recording, a plucked melody of
# about eight seconds, and encodes it as a 128 kbit/s MP3 with a title tag.
set -eu
sox=$1 gst=$2 out=$3
"$sox" -q -n -r 44100 -c 2 -b 16 -t wav - \
  synth 0.45 pluck C4 : synth 0.45 pluck E4 : synth 0.45 pluck G4 : synth 0.9 pluck C5 : \
  synth 0.45 pluck A4 : synth 0.45 pluck G4 : synth 1.2 pluck E4 fade 0 1.2 1.0 : \
  synth 0.45 pluck D4 : synth 0.45 pluck E4 : synth 0.45 pluck C4 : synth 0.9 pluck G4 : \
  synth 1.5 pluck C4 fade 0 1.5 1.4 |
  "$gst" -q fdsrc fd=0 ! wavparse ! audioconvert ! lamemp3enc target=bitrate bitrate=128 cbr=true \
    ! taginject tags="title=示例旋律" ! id3v2mux ! filesink location="$out.part"
mv "$out.part" "$out"
