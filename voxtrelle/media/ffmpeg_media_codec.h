// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "voxtrelle/audio/media_codec.h"

namespace voxtrelle {

// The program's media codec: FFmpeg decodes and encodes, TagLib reads and writes ASF tags.
// A program creates one at start-up, keeps it alive, and installs it with
// install_media_codec(&codec). Stateless; every call may run on any thread.
class FfmpegMediaCodec final : public MediaCodec {
 public:
  FfmpegMediaCodec() = default;

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
