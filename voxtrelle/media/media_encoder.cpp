// SPDX-License-Identifier: GPL-3.0-or-later
// FfmpegMediaCodec::encode_to_wma: a PCM WAV (or anything FFmpeg decodes under a source name
// of ours) into a WMA file with FFmpeg's wmav2 encoder and asf muxer.
#include <memory>
#include <vector>

#include "voxtrelle/media/ffmpeg_handles.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/media_paths.h"
#include "voxtrelle/media/media_reader.h"
#include "voxtrelle/media/wma_encoder.h"
#include "voxtrelle/media/wma_profile_builder.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace voxtrelle {
namespace {

// The encoder and the muxer writing into the replacement file, fed with planar float frames.
class WmaWriter {
 public:
  int open(const std::string& path, const WmaFormat& format) {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (codec == nullptr) return 0;
    encoder_.reset(avcodec_alloc_context3(codec));
    if (!encoder_) return 0;
    encoder_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder_->sample_rate = static_cast<int>(format.sample_rate);
    encoder_->bit_rate = format.bit_rate;
    encoder_->time_base = AVRational{1, encoder_->sample_rate};
    av_channel_layout_default(&encoder_->ch_layout, format.channels);

    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, "asf", path.c_str()) < 0) return 0;
    output_.reset(raw);
    if (output_->oformat->flags & AVFMT_GLOBALHEADER) {
      encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (avcodec_open2(encoder_.get(), codec, nullptr) < 0) return 0;

    AVStream* stream = avformat_new_stream(output_.get(), nullptr);
    if (stream == nullptr) return 0;
    if (avcodec_parameters_from_context(stream->codecpar, encoder_.get()) < 0) return 0;
    stream->time_base = encoder_->time_base;
    av_dict_set(&stream->metadata, "title", WmaProfileBuilder::kStreamName, 0);
    stream_ = stream;

    if (avio_open(&output_->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return 0;
    AVDictionary* options = nullptr;
    av_dict_set_int(&options, "packet_size", asf_packet_size_for(encoder_->block_align), 0);
    const int written = avformat_write_header(output_.get(), &options);
    av_dict_free(&options);
    if (written < 0) return 0;

    frame_size_ = encoder_->frame_size > 0 ? encoder_->frame_size : 2048;
    fifo_.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, format.channels, frame_size_ * 4));
    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!fifo_ || !frame_ || !packet_) return 0;
    return prime(format.channels);
  }

  // Queues planar float samples and encodes every whole frame.
  int push(const uint8_t* const* data, int frames) {
    // The fifo only reads from the planes although its signature does not say so.
    void** planes = reinterpret_cast<void**>(const_cast<uint8_t**>(data));
    if (av_audio_fifo_write(fifo_.get(), planes, frames) < frames) {
      return 0;
    }
    while (av_audio_fifo_size(fifo_.get()) >= frame_size_) {
      if (encode_from_fifo(frame_size_) == 0) return 0;
    }
    return 1;
  }

  // Encodes what is left, drains the encoder and completes the file.
  int finish() {
    const int left = av_audio_fifo_size(fifo_.get());
    if (left > 0 && encode_from_fifo(left) == 0) return 0;
    if (avcodec_send_frame(encoder_.get(), nullptr) < 0 || drain() == 0) return 0;
    if (av_write_trailer(output_.get()) < 0) return 0;
    return avio_closep(&output_->pb) < 0 ? 0 : 1;
  }

 private:
  // The WMA decoder drops the first frame it decodes, the encoder's initial padding, and ASF
  // cannot record it. Leading silence of that length keeps the first samples of the audio and
  // every later one in place when the file is decoded again.
  int prime(int channels) {
    const int padding = encoder_->initial_padding;
    if (padding <= 0) return 1;
    std::vector<float> silence(static_cast<size_t>(padding), 0.0f);
    std::vector<void*> planes(static_cast<size_t>(channels), silence.data());
    return av_audio_fifo_write(fifo_.get(), planes.data(), padding) == padding ? 1 : 0;
  }

  int encode_from_fifo(int frames) {
    AVFrame* f = frame_.get();
    av_frame_unref(f);
    f->nb_samples = frames;
    f->format = AV_SAMPLE_FMT_FLTP;
    f->sample_rate = encoder_->sample_rate;
    if (av_channel_layout_copy(&f->ch_layout, &encoder_->ch_layout) < 0) return 0;
    if (av_frame_get_buffer(f, 0) < 0) return 0;
    if (av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(f->extended_data), frames) <
        frames) {
      return 0;
    }
    f->pts = next_pts_;
    next_pts_ += frames;
    if (avcodec_send_frame(encoder_.get(), f) < 0) return 0;
    return drain();
  }

  int drain() {
    for (;;) {
      const int got = avcodec_receive_packet(encoder_.get(), packet_.get());
      if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return 1;
      if (got < 0) return 0;
      packet_->stream_index = stream_->index;
      av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
      if (av_interleaved_write_frame(output_.get(), packet_.get()) < 0) return 0;
    }
  }

  ff::CodecContext encoder_;
  ff::OutputContext output_;
  ff::AudioFifo fifo_;
  ff::Frame frame_;
  ff::Packet packet_;
  AVStream* stream_ = nullptr;  // owned by output_
  int frame_size_ = 0;          // frames per encoder call
  int64_t next_pts_ = 0;        // frames
};

int encode(const std::string& source, const std::string& target, ProgressSink* progress,
           uint32_t cap) {
  if (cancel_requested(progress) || source.empty() || target.empty()) return 0;
  const int kind = source_kind(source);
  if (kind < 0 || file_is_writable(target) == 0) return 0;

  const uint32_t total = progress != nullptr ? progress->total() : 0;
  const uint32_t open_share = static_cast<uint32_t>(total * 0.3);
  MediaReader reader;
  if (reader.open(source, kind, AV_SAMPLE_FMT_FLTP) == 0) return 0;
  if (progress != nullptr) {
    if (cancel_requested(progress)) return 0;
    progress->advance(open_share);
  }

  WmaProfileBuilder builder;
  const PcmLayout layout{static_cast<uint16_t>(reader.channels()),
                         static_cast<uint32_t>(reader.sample_rate()),
                         static_cast<uint16_t>(reader.source_bits())};
  if (builder.build_for(layout, cap) == 0) return 0;

  // The new file grows beside the target and replaces it only when complete.
  ReplacementFile file;
  if (file.create(target) == 0) return 0;
  WmaWriter writer;
  if (writer.open(file.path(), builder.format()) == 0) return 0;

  std::unique_ptr<ProgressSlice> rest;
  if (progress != nullptr) rest = std::make_unique<ProgressSlice>(*progress, total - open_share);
  const double duration = reader.duration();
  const MediaReader::SampleSink sink = [&](const uint8_t* const* data, int frames) {
    return writer.push(data, frames);
  };
  for (;;) {
    if (cancel_requested(progress)) return 0;
    const int stepped = reader.step(sink);
    if (stepped < 0) return 0;
    if (stepped == 0) break;
    if (rest && duration > 0.0) {
      rest->set_percent(static_cast<float>(reader.position() * 100.0 / duration));
    }
  }
  if (reader.frames_delivered() == 0 || cancel_requested(progress)) return 0;
  if (writer.finish() == 0) return 0;
  return file.commit();
}

}  // namespace

int encode_wav_to_wma(const std::string& source, const std::string& target, ProgressSink* progress,
                      uint32_t bit_rate_cap) {
  if (encode(source, target, progress, bit_rate_cap) == 0) {
    report_failure(progress);
    return 0;
  }
  report_complete(progress);
  return 1;
}

int FfmpegMediaCodec::encode_to_wma(const std::string& wav, const std::string& target,
                                    ProgressSink* progress) {
  return encode_wav_to_wma(wav, target, progress);
}

}  // namespace voxtrelle
