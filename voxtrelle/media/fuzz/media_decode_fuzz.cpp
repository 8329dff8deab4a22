// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the editor's media load path on a file made from the input, as the document loads it:
// a RIFF file as .wav (a non-PCM one goes through decode_to_wav, then the WAV reader), anything
// else as .wma (tags, decode_to_wav, the WAV reader).
extern "C" {
#include <libavutil/log.h>
}

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/fuzz/fuzz_scratch.h"
#include "voxtrelle/audio/wma_audio.h"
#include "voxtrelle/media/ffmpeg_media_codec.h"

namespace {

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "media_decode_fuzz: %s\n", what);
    std::abort();
  }
}

voxtrelle::FfmpegMediaCodec& codec() {
  static voxtrelle::FfmpegMediaCodec instance;
  return instance;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  av_log_set_level(AV_LOG_QUIET);
  voxtrelle::install_media_codec(&codec());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = voxtrelle::fuzz::scratch();
  const bool riff = size >= 4 && std::memcmp(data, "RIFF", 4) == 0;
  const std::string path = scratch.write_input(riff ? "input.wav" : "input.wma", data, size);
  {
    voxtrelle::fuzz::BatchProgress progress;
    if (riff) {
      voxtrelle::AudioClip clip;
      if (!clip.load_wav(path, &progress)) check(clip.is_empty(), "a failed load left audio");
    } else {
      voxtrelle::WmaAudio audio;
      if (audio.load(path, &progress)) {
        check(audio.has_audio(), "a successful load holds no audio");
      } else {
        check(audio.is_empty(), "a failed load left audio");
      }
    }
  }
  scratch.expect_only_input(path, data, size);
  return 0;
}
