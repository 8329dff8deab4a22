// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/media_reader.h"

#include <algorithm>

extern "C" {
#include <libavutil/avstring.h>
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

namespace voxtrelle {

MediaReader::~MediaReader() {
  av_channel_layout_uninit(&out_layout_);
}

int MediaReader::open(const std::string& path, int kind, AVSampleFormat output_format) {
  if (path.empty() || (kind != 1 && kind != 2)) return 0;
  // A .wma file must really be ASF; a .wav file must really be RIFF. Other content under
  // those names is refused instead of being decoded by whatever demuxer recognises it.
  const AVInputFormat* format = nullptr;
  if (kind == 2) format = av_find_input_format("asf");
  const std::string::size_type dot = path.find_last_of('.');
  if (kind == 1 && dot != std::string::npos && av_strcasecmp(path.c_str() + dot, ".wav") == 0) {
    format = av_find_input_format("wav");
  }
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, path.c_str(), format, nullptr) < 0) return 0;
  input_.reset(raw);
  input_->error_recognition |= AV_EF_EXPLODE;
  if (avformat_find_stream_info(input_.get(), nullptr) < 0) return 0;

  const AVCodec* codec = nullptr;
  stream_ = av_find_best_stream(input_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
  if (stream_ < 0 || codec == nullptr) return 0;
  const AVStream* stream = input_->streams[stream_];
  for (unsigned i = 0; i < input_->nb_streams; ++i) {
    if (static_cast<int>(i) != stream_) input_->streams[i]->discard = AVDISCARD_ALL;
  }

  decoder_.reset(avcodec_alloc_context3(codec));
  if (!decoder_ || avcodec_parameters_to_context(decoder_.get(), stream->codecpar) < 0) return 0;
  decoder_->err_recognition |= AV_EF_EXPLODE | AV_EF_CRCCHECK;
  decoder_->pkt_timebase = stream->time_base;
  if (avcodec_open2(decoder_.get(), codec, nullptr) < 0) return 0;

  const int source_channels = decoder_->ch_layout.nb_channels;
  sample_rate_ = decoder_->sample_rate;
  if (source_channels <= 0 || sample_rate_ <= 0) return 0;
  av_channel_layout_uninit(&out_layout_);
  av_channel_layout_default(&out_layout_, source_channels == 1 ? 1 : 2);
  output_format_ = output_format;

  const int bits = stream->codecpar->bits_per_coded_sample;
  source_bits_ = bits > 0 ? bits : 16;
  if (input_->duration > 0) {
    duration_ = double(input_->duration) / AV_TIME_BASE;
  } else if (stream->duration > 0) {
    duration_ = double(stream->duration) * av_q2d(stream->time_base);
  }

  packet_.reset(av_packet_alloc());
  frame_.reset(av_frame_alloc());
  return packet_ && frame_ ? 1 : 0;
}

int MediaReader::step(const SampleSink& sink) {
  if (!decoder_) return -1;
  if (draining_) return 0;
  for (;;) {
    const int read = av_read_frame(input_.get(), packet_.get());
    // A file that ends early (an interrupted download or recording) ends the stream there.
    if (read == AVERROR_EOF || (read < 0 && input_->pb != nullptr && avio_feof(input_->pb))) {
      draining_ = true;
      if (avcodec_send_packet(decoder_.get(), nullptr) < 0) return -1;
      if (deliver_frames(sink) < 0) return -1;
      return 0;
    }
    if (read < 0) return -1;
    if (packet_->stream_index != stream_ || !whole_blocks_only(*packet_)) {
      av_packet_unref(packet_.get());
      continue;
    }
    if (fill_gap_before(*packet_, sink) == 0) {
      av_packet_unref(packet_.get());
      return -1;
    }
    const int sent = avcodec_send_packet(decoder_.get(), packet_.get());
    av_packet_unref(packet_.get());
    if (sent < 0) return -1;
    const int64_t before = delivered_;
    if (deliver_frames(sink) < 0) return -1;
    if (delivered_ > before) packet_frames_ = delivered_ - before;
    return 1;
  }
}

bool MediaReader::whole_blocks_only(AVPacket& packet) const {
  const int align = input_->streams[stream_]->codecpar->block_align;
  if (align <= 1 || packet.size % align == 0) return true;
  const int whole = packet.size - packet.size % align;
  if (whole == 0) return false;
  av_shrink_packet(&packet, whole);
  return true;
}

int MediaReader::fill_gap_before(const AVPacket& packet, const SampleSink& sink) {
  if (packet.pts == AV_NOPTS_VALUE) return 1;
  const AVRational base = input_->streams[stream_]->time_base;
  const int64_t slack = std::max<int64_t>(packet.duration / 2, av_rescale_q(10, {1, 1000}, base));
  const int64_t expected = next_pts_;
  next_pts_ = packet.duration > 0 ? packet.pts + packet.duration : AV_NOPTS_VALUE;
  if (expected == AV_NOPTS_VALUE || packet.pts <= expected + slack) return 1;
  int64_t missing = av_rescale_q(packet.pts - expected, base, {1, sample_rate_});
  // Container times may be rounded (ASF counts whole milliseconds), while a codec of fixed
  // frames lost whole packets' worth of them.
  const int64_t unit = decoder_->frame_size > 0 ? decoder_->frame_size : packet_frames_;
  if (unit > 0) missing = (missing + unit / 2) / unit * unit;
  // Silence in any sample format this reader hands out is all zero bytes.
  const int planar = av_sample_fmt_is_planar(output_format_);
  const int planes = planar ? channels() : 1;
  constexpr int kChunkFrames = 4096;
  const int bytes =
      av_samples_get_buffer_size(nullptr, planar ? 1 : channels(), kChunkFrames, output_format_, 1);
  if (bytes < 0) return 0;
  std::vector<uint8_t> zeros(static_cast<size_t>(bytes), 0);
  std::vector<const uint8_t*> data(static_cast<size_t>(planes), zeros.data());
  while (missing > 0) {
    const int frames = static_cast<int>(std::min<int64_t>(missing, kChunkFrames));
    delivered_ += frames;
    if (sink(data.data(), frames) == 0) return 0;
    missing -= frames;
  }
  return 1;
}

int MediaReader::deliver_frames(const SampleSink& sink) {
  for (;;) {
    const int got = avcodec_receive_frame(decoder_.get(), frame_.get());
    if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return 0;
    if (got < 0) return -1;
    const int converted = convert(*frame_, sink);
    av_frame_unref(frame_.get());
    if (converted == 0) return -1;
  }
}

int MediaReader::convert(const AVFrame& frame, const SampleSink& sink) {
  if (frame.nb_samples <= 0) return 1;
  if (frame.sample_rate != 0 && frame.sample_rate != sample_rate_) return 0;
  if (!resampler_) {
    AVChannelLayout in_layout{};
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ||
        av_channel_layout_check(&frame.ch_layout) == 0) {
      av_channel_layout_default(&in_layout, frame.ch_layout.nb_channels);
    } else if (av_channel_layout_copy(&in_layout, &frame.ch_layout) < 0) {
      return 0;
    }
    SwrContext* raw = nullptr;
    const int made =
        swr_alloc_set_opts2(&raw, &out_layout_, output_format_, sample_rate_, &in_layout,
                            static_cast<AVSampleFormat>(frame.format), sample_rate_, 0, nullptr);
    av_channel_layout_uninit(&in_layout);
    resampler_.reset(raw);
    if (made < 0 || swr_init(resampler_.get()) < 0) return 0;
  }
  // Same rate on both sides, so the output never holds more frames than the input.
  const int planar = av_sample_fmt_is_planar(output_format_);
  const int planes = planar ? channels() : 1;
  const int plane_bytes = av_samples_get_buffer_size(nullptr, planar ? 1 : channels(),
                                                     frame.nb_samples + 32, output_format_, 1);
  if (plane_bytes < 0) return 0;
  planes_.resize(planes);
  plane_pointers_.resize(planes);
  for (int p = 0; p < planes; ++p) {
    if (planes_[p].size() < static_cast<size_t>(plane_bytes)) planes_[p].resize(plane_bytes);
    plane_pointers_[p] = planes_[p].data();
  }
  const int frames =
      swr_convert(resampler_.get(), plane_pointers_.data(), frame.nb_samples + 32,
                  const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
  if (frames < 0) return 0;
  if (frames == 0) return 1;
  delivered_ += frames;
  return sink(plane_pointers_.data(), frames);
}

}  // namespace voxtrelle
