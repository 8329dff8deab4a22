// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/media/ffmpeg_media_codec.h"
#include "voxtrelle/media/media_log.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace voxtrelle {

FfmpegMediaCodec::FfmpegMediaCodec() {
  install_media_log();
}

bool media_support_available() {
  // Loading: the ASF and WAV demuxers with the WMA decoders; saving: the wmav2 encoder and the
  // asf muxer; the wav muxer and pcm_s16le cover the PCM side of both.
  for (const AVCodecID id :
       {AV_CODEC_ID_WMAV1, AV_CODEC_ID_WMAV2, AV_CODEC_ID_WMAPRO, AV_CODEC_ID_WMALOSSLESS,
        AV_CODEC_ID_WMAVOICE, AV_CODEC_ID_PCM_S16LE}) {
    if (avcodec_find_decoder(id) == nullptr) return false;
  }
  if (avcodec_find_encoder(AV_CODEC_ID_WMAV2) == nullptr) return false;
  if (avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE) == nullptr) return false;
  for (const char* name : {"asf", "wav"}) {
    if (av_guess_format(name, nullptr, nullptr) == nullptr) return false;
    if (av_find_input_format(name) == nullptr) return false;
  }
  return true;
}

}  // namespace voxtrelle
