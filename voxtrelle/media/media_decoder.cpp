// SPDX-License-Identifier: GPL-3.0-or-later
// FfmpegMediaCodec::decode_to_wav: any source FFmpeg decodes into a 16-bit PCM WAV file.
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "voxtrelle/media/asf_length.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/media_paths.h"
#include "voxtrelle/media/media_reader.h"
#include "voxtrelle/media/pcm_wav_writer.h"

namespace voxtrelle {
namespace {

int decode(const std::string& source, const std::string& target, ProgressSink* progress,
           bool& wrote_target) {
  if (cancel_requested(progress) || source.empty() || target.empty()) return 0;
  const int kind = source_kind(source);
  if (kind < 0) return 0;
  if (::access(target.c_str(), F_OK) == 0 && file_is_writable(target) == 0) return 0;

  const uint32_t total = progress != nullptr ? progress->total() : 0;
  const uint32_t open_share = static_cast<uint32_t>(total * 0.3);
  MediaReader reader;
  if (reader.open(source, kind, AV_SAMPLE_FMT_S16) == 0) return 0;
  if (progress != nullptr) {
    if (cancel_requested(progress)) return 0;
    progress->advance(open_share);
  }

  PcmWavWriter writer;
  wrote_target = true;
  if (writer.open(target, static_cast<uint16_t>(reader.channels()),
                  static_cast<uint32_t>(reader.sample_rate())) == 0) {
    return 0;
  }
  const size_t frame_bytes = size_t(reader.channels()) * 2;
  const MediaReader::SampleSink sink = [&](const uint8_t* const* data, int frames) {
    return writer.write(data[0], size_t(frames) * frame_bytes);
  };

  // Progress of the rest follows the decoded share of the declared length.
  ProgressSlice* slice = nullptr;
  std::unique_ptr<ProgressSlice> rest;
  if (progress != nullptr) {
    rest = std::make_unique<ProgressSlice>(*progress, total - open_share);
    slice = rest.get();
  }
  // A file cut short loads what it holds, so progress may stop short of 100 % here.
  const double declared = kind == 2 ? asf_declared_seconds(source) : 0.0;
  const double duration = declared > 0.0 ? declared : reader.duration();
  for (;;) {
    if (cancel_requested(progress)) return 0;
    const int stepped = reader.step(sink);
    if (stepped < 0) return 0;
    if (stepped == 0) break;
    if (slice != nullptr && duration > 0.0) {
      slice->set_percent(static_cast<float>(reader.position() * 100.0 / duration));
    }
  }
  if (reader.frames_delivered() == 0 || cancel_requested(progress)) {
    return 0;
  }
  return writer.finish();
}

}  // namespace

int FfmpegMediaCodec::decode_to_wav(const std::string& source, const std::string& target,
                                    ProgressSink* progress) {
  bool wrote_target = false;
  if (decode(source, target, progress, wrote_target) == 0) {
    // A half-written file is never left behind; a target refused before writing stays as is.
    struct stat st {};
    if (wrote_target && ::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      ::unlink(target.c_str());
    }
    report_failure(progress);
    return 0;
  }
  report_complete(progress);
  return 1;
}

}  // namespace voxtrelle
