#!/usr/bin/env bash
# Writes the seed corpora of the fuzz programs into OUT/<program>/: small WAV, WMA, settings
# and update-answer files, every one made here (sox, ffmpeg, printf) rather than taken from
# anywhere else. Usage: scripts/make-fuzz-seeds.sh OUT
set -euo pipefail

out=${1:?usage: make-fuzz-seeds.sh OUT}
wav="$out/wav_reader_fuzz" media="$out/media_decode_fuzz" tags="$out/asf_tags_fuzz"
ini="$out/settings_fuzz" answer="$out/update_answer_fuzz"
rm -rf "$wav" "$media" "$tags" "$ini" "$answer"
mkdir -p "$wav" "$media" "$tags" "$ini" "$answer"

# Little-endian numbers as raw bytes.
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
# chunk ID SIZE: a chunk header.
chunk() { printf '%s' "$1"; le32 "$2"; }
# fmt TAG CHANNELS RATE BITS: a 16-byte fmt chunk.
fmt() {
  local align=$(($2 * $4 / 8))
  chunk "fmt " 16; le16 "$1"; le16 "$2"; le32 "$3"; le32 $(($3 * align)); le16 "$align"; le16 "$4"
}
# riff BODY-FILE: a RIFF/WAVE file around the chunks in BODY-FILE.
riff() { printf RIFF; le32 $(($(stat -c %s "$1") + 4)); printf WAVE; cat "$1"; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Plain PCM files of every accepted shape, and encodings that go through the decoder.
synth() { sox -q -n "$@" synth 0.05 sine 440 2>/dev/null; }
synth -r 8000 -c 1 -b 8 -e unsigned-integer "$wav/pcm8_mono.wav"
synth -r 11025 -c 2 -b 8 -e unsigned-integer "$wav/pcm8_stereo.wav"
synth -r 22050 -c 1 -b 16 "$wav/pcm16_mono.wav"
synth -r 44100 -c 2 -b 16 "$wav/pcm16_stereo.wav"
synth -r 8000 -c 1 -b 24 "$wav/pcm24.wav"
synth -r 8000 -c 1 -e floating-point -b 32 "$wav/float32.wav"
synth -r 8000 -c 1 -e ima-adpcm "$wav/ima_adpcm.wav"
synth -r 8000 -c 1 -e ms-adpcm "$wav/ms_adpcm.wav"
synth -r 8000 -c 1 -e u-law "$wav/ulaw.wav"
synth -r 8000 -c 3 -b 16 "$wav/three_channels.wav"

# Hand-made chunk layouts: odd data with a pad byte, a LIST chunk, a zero-size chunk, a data
# chunk that claims more than the file holds, data before fmt, a short fmt, no data at all.
body() { : > "$tmp/body"; }
add() { cat >> "$tmp/body"; }
body; fmt 1 1 8000 8 | add; chunk data 3 | add; printf 'abc\0' | add
chunk LIST 4 | add; printf INFO | add; riff "$tmp/body" > "$wav/odd_data_then_list.wav"
body; fmt 1 2 8000 16 | add; chunk LIST 6 | add; printf 'INFOxx' | add
chunk data 8 | add; printf '\1\0\2\0\3\0\4\0' | add; riff "$tmp/body" > "$wav/list_before_data.wav"
body; fmt 1 1 8000 8 | add; chunk fact 0 | add; chunk data 2 | add; printf 'ab' | add
riff "$tmp/body" > "$wav/zero_fact.wav"
body; fmt 1 1 8000 16 | add; chunk data 4000 | add; printf '\1\2\3\4' | add
riff "$tmp/body" > "$wav/data_claims_more.wav"
body; chunk data 2 | add; printf 'ab' | add; fmt 1 1 8000 8 | add
riff "$tmp/body" > "$wav/data_before_fmt.wav"
body; chunk "fmt " 8 | add; le16 1 | add; le16 1 | add; le32 8000 | add
chunk data 2 | add; printf 'ab' | add; riff "$tmp/body" > "$wav/short_fmt.wav"
body; fmt 1 1 8000 8 | add; riff "$tmp/body" > "$wav/no_data.wav"
body; chunk "fmt " 20 | add; le16 1 | add; le16 1 | add; le32 8000 | add; le32 8000 | add
le16 1 | add; le16 8 | add; le16 2 | add; printf 'xx' | add; chunk data 1 | add; printf 'a' | add
riff "$tmp/body" > "$wav/fmt_with_extra.wav"
head -c 60 "$wav/pcm16_stereo.wav" > "$wav/cut_in_data.wav"
head -c 30 "$wav/pcm16_mono.wav" > "$wav/cut_in_fmt.wav"

# WMA files in the formats the editor writes, with and without tags.
wma() { ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=440:sample_rate=$1:duration=0.3" \
          -ac "$2" -c:a "$3" -b:a "$4" "${@:6}" "$5"; }
wma 22050 1 wmav2 32k "$media/wmav2_mono.wma"
wma 44100 2 wmav2 64k "$media/wmav2_stereo.wma"
wma 22050 1 wmav1 32k "$media/wmav1_mono.wma"
wma 44100 2 wmav2 64k "$media/tagged.wma" -metadata title="Seed title" -metadata artist=Artist \
  -metadata album=Album -metadata date=2024 -metadata track=7 -metadata genre=Genre \
  -metadata comment="A comment" -metadata WM/SharedUserRating=50 -metadata WM/Lyrics=Words
head -c 3000 "$media/wmav2_stereo.wma" > "$media/cut_short.wma"
cp "$wav/ms_adpcm.wav" "$wav/float32.wav" "$wav/pcm16_mono.wav" "$media/"
cp "$media"/*.wma "$tags/"

# Settings files: every key in and out of bounds, odd spellings and layouts.
printf '[options]\nbMute=0\nvolume=9500\neachJump=3\nfineTuning=200\n' > "$ini/defaults.ini"
printf '[options]\nbMute=1\nvolume=10001\neachJump=0\nfineTuning=10\n' > "$ini/out_of_bounds.ini"
printf '[options]\nbMute=-7\nvolume=-1\neachJump=99\nfineTuning=9999999999\n' > "$ini/extremes.ini"
printf '[options]\r\nvolume = 0x10\r\neachJump=\r\n; comment\r\n[other]\r\nbMute=1\r\n' \
  > "$ini/crlf_and_sections.ini"
printf 'volume=5000\n[options\nfineTuning="300"\n[options/sub]\neachJump=5\n' > "$ini/broken.ini"
printf '[options]\nfineTuning=3\\\n00\neachJump=\xe4\xb8\x89\n' > "$ini/continued.ini"
: > "$ini/empty.ini"

# Update answers.
printf '_tell' > "$answer/tell"
printf '_must' > "$answer/must"
printf '_tell newer version 2.3.0\n' > "$answer/tell_text"
printf ' _tell' > "$answer/blank_first"
printf '\0_must' > "$answer/zero_first"
printf '_mus' > "$answer/short"
printf '<html><body>404</body></html>' > "$answer/page"
head -c 100 /dev/zero | tr '\0' x > "$answer/long"
