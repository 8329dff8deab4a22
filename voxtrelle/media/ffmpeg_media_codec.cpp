// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/ffmpeg_media_codec.h"

namespace voxtrelle {

int FfmpegMediaCodec::decode_to_wav(const std::string&, const std::string&,
                                    ProgressSink* progress) {
  report_failure(progress);
  return 0;
}

int FfmpegMediaCodec::encode_to_wma(const std::string&, const std::string&,
                                    ProgressSink* progress) {
  report_failure(progress);
  return 0;
}

int FfmpegMediaCodec::read_tags(const std::string&, MediaTags& tags) {
  tags.clear();
  return 0;
}

int FfmpegMediaCodec::write_tags(const std::string&, const MediaTags&) {
  return 0;
}

bool media_support_available() {
  return false;
}

}  // namespace voxtrelle
