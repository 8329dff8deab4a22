// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "voxtrelle/audio/media_codec.h"

namespace voxtrelle {

// The program's media codec: FFmpeg decodes and encodes, TagLib reads and writes ASF tags.
// A program checks media_support_available() at start-up, creates one codec, keeps it alive
// and installs it with install_media_codec(&codec). Stateless; every call may run on any
// thread (in the editor: the load/save worker).
//
// decode_to_wav: a .wav/.pcm (any encoding FFmpeg decodes) or .wma source into a canonical
//   16-bit PCM WAV (44-byte header) with the source's rate and channels, more than two mixed
//   down to stereo. Progress: 30 % once the source is open, the rest by decoded length;
//   cancellation is checked between packets. A file cut short loads what it holds and a gap
//   in its packet timeline becomes silence (media_reader.h); damaged data, non-ASF .wma files
//   and files of which nothing decodes fail.
// encode_to_wma: wmav2 in ASF at the highest offered bit rate for the source's channels and
//   rate (wma_profile_builder.h); 96 kHz and other unoffered formats fail. The file is built
//   beside the target and put in its place only when complete (replace_file.h).
// read_tags/write_tags: the MediaTags block in ASF attributes (music_text38 in WM/SubTitle; the
//   comment also in the Description attribute that many encoders use).
class FfmpegMediaCodec final : public MediaCodec {
 public:
  // Takes over FFmpeg's log (media_log.h), which stays quiet unless a sink is set.
  FfmpegMediaCodec();

  int decode_to_wav(const std::string& source, const std::string& target,
                    ProgressSink* progress) override;
  int encode_to_wma(const std::string& wav, const std::string& target,
                    ProgressSink* progress) override;
  int read_tags(const std::string& path, MediaTags& tags) override;
  int write_tags(const std::string& path, const MediaTags& tags) override;
};

// True when the installed FFmpeg offers everything loading and saving need: the WMA decoders,
// the wmav2 encoder, the asf and wav muxers and pcm_s16le. Called once at start-up.
bool media_support_available();

}  // namespace voxtrelle
