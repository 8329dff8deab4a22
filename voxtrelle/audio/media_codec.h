// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "voxtrelle/audio/media_tags.h"
#include "voxtrelle/audio/progress.h"

namespace voxtrelle {

// What the audio core needs from a media library: decoding compressed or non-PCM files into
// 16-bit PCM WAV, encoding PCM WAV into WMA, and the tags of WMA files. The core stays free of
// codec libraries; a program installs one implementation at start-up (voxtrelle/media
// provides it). Without one, these operations fail cleanly. All calls may run on the load/save
// worker thread. Paths are UTF-8.
class MediaCodec {
 public:
  virtual ~MediaCodec() = default;

  // Decodes source into a 16-bit PCM WAV file at target. Returns 1/0; on 0 nothing is left at
  // target. Completes or fails progress.
  virtual int decode_to_wav(const std::string& source, const std::string& target,
                            ProgressSink* progress) = 0;
  // Encodes the PCM WAV file wav into a WMA file at target with the best offered bit rate for
  // its channels and rate. Returns 1/0; on 0 an existing target is left untouched.
  virtual int encode_to_wma(const std::string& wav, const std::string& target,
                            ProgressSink* progress) = 0;
  // Clears tags, then reads them; returns 1 when the file's tags could be read.
  virtual int read_tags(const std::string& path, MediaTags& tags) = 0;
  virtual int write_tags(const std::string& path, const MediaTags& tags) = 0;
};

// Installs the process's codec (not owned; it must outlive every audio operation). Called once
// at start-up before any worker thread runs; nullptr removes it.
void install_media_codec(MediaCodec* codec);
// The installed codec, or nullptr.
MediaCodec* installed_media_codec();

}  // namespace voxtrelle
