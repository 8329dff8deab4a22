// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the WAV reader: the header probe, the chunk walk and the sample read of load_wav, on a
// file made from the input. No media codec is installed, so other encodings fail at once.
#include <cstdio>
#include <cstdlib>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/fuzz/fuzz_scratch.h"

using voxtrelle::AudioClip;

namespace {

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "wav_reader_fuzz: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& scratch = voxtrelle::fuzz::scratch();
  const std::string path = scratch.write_input("input.wav", data, size);
  {
    AudioClip clip;
    voxtrelle::fuzz::BatchProgress progress;
    if (clip.load_wav(path, &progress)) {
      check(!progress.has_failed(), "a successful load reported failure");
      // A file without a data chunk loads with its format but no audio.
      check(clip.frames() == 0 || clip.has_audio(), "loaded frames without a valid store");
    } else {
      check(clip.is_empty(), "a failed load left audio in the clip");
      check(progress.has_failed(), "a failed load was not reported");
    }
  }
  scratch.expect_only_input(path, data, size);
  return 0;
}
