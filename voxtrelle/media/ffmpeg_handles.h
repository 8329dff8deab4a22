// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

// Owning handles for the FFmpeg objects the media code uses, so every path releases them.
namespace voxtrelle::ff {

struct InputDeleter {
  void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct OutputDeleter {
  // Closes the output file too when the muxer does not manage its own I/O.
  void operator()(AVFormatContext* c) const {
    if (c->oformat != nullptr && !(c->oformat->flags & AVFMT_NOFILE)) avio_closep(&c->pb);
    avformat_free_context(c);
  }
};
struct CodecDeleter {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ResamplerDeleter {
  void operator()(SwrContext* s) const { swr_free(&s); }
};
struct FifoDeleter {
  void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};

using InputContext = std::unique_ptr<AVFormatContext, InputDeleter>;
using OutputContext = std::unique_ptr<AVFormatContext, OutputDeleter>;
using CodecContext = std::unique_ptr<AVCodecContext, CodecDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;
using Resampler = std::unique_ptr<SwrContext, ResamplerDeleter>;
using AudioFifo = std::unique_ptr<AVAudioFifo, FifoDeleter>;

}  // namespace voxtrelle::ff
