// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "voxtrelle/media/ffmpeg_handles.h"

namespace voxtrelle {

// Demuxes and decodes the audio of one media file and hands out its samples converted to a
// chosen sample format, with the source's rate and channel count (more than two channels are
// mixed down to stereo). A file cut short delivers what it holds, without its partial last
// frame or block; a gap in the packet timeline is filled with silence. A decoding error or a
// read error before the end of the file fails the read, so damaged data is refused rather
// than handed out as noise.
class MediaReader {
 public:
  // Receives converted samples: data[] holds one plane per channel for planar formats, else
  // data[0] holds interleaved samples. Returns 1 to go on, 0 to stop with failure.
  using SampleSink = std::function<int(const uint8_t* const* data, int frames)>;

  MediaReader() = default;
  ~MediaReader();
  MediaReader(const MediaReader&) = delete;
  MediaReader& operator=(const MediaReader&) = delete;

  // Opens path as the given source kind (1 = WAV/PCM, 2 = WMA, which only the ASF demuxer may
  // open) and picks its best audio stream. Returns 1/0.
  int open(const std::string& path, int kind, AVSampleFormat output_format);

  int channels() const { return out_layout_.nb_channels; }
  int sample_rate() const { return sample_rate_; }
  // Bits per sample of the source's coding (16 when the codec does not say).
  int source_bits() const { return source_bits_; }
  // Declared length in seconds; 0 when the container does not tell.
  double duration() const { return duration_; }
  // Seconds delivered so far.
  double position() const { return sample_rate_ > 0 ? double(delivered_) / sample_rate_ : 0.0; }
  int64_t frames_delivered() const { return delivered_; }

  // Reads one packet and delivers what it decodes to. Returns 1 while more may follow, 0 at the
  // end of the stream (the decoder drained), -1 on failure.
  int step(const SampleSink& sink);

 private:
  // Drops a partial last frame or block (a file cut short): false when nothing whole is left.
  bool whole_blocks_only(AVPacket& packet) const;
  // A packet that starts clearly after the previous one ended follows a gap in the timeline
  // (packets lost or passed over as damaged): silence fills it, so every later sample keeps
  // its place. Returns 1/0.
  int fill_gap_before(const AVPacket& packet, const SampleSink& sink);
  int deliver_frames(const SampleSink& sink);
  int convert(const AVFrame& frame, const SampleSink& sink);

  ff::InputContext input_;
  ff::CodecContext decoder_;
  ff::Resampler resampler_;
  ff::Packet packet_;
  ff::Frame frame_;
  AVChannelLayout out_layout_{};
  AVSampleFormat output_format_ = AV_SAMPLE_FMT_NONE;
  int stream_ = -1;
  int sample_rate_ = 0;
  int source_bits_ = 16;
  double duration_ = 0.0;
  int64_t delivered_ = 0;
  int64_t next_pts_ = AV_NOPTS_VALUE;  // stream time base; where the next packet should start
  int64_t packet_frames_ = 0;          // frames the last packet that gave any decoded to
  std::vector<std::vector<uint8_t>> planes_;  // conversion output, one buffer per plane
  std::vector<uint8_t*> plane_pointers_;
  bool draining_ = false;
};

}  // namespace voxtrelle
