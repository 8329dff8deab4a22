// SPDX-License-Identifier: GPL-3.0-or-later
// Convert to Mono and Convert to Stereo.
#include <cstdint>

#include "voxtrelle/audio/audio_clip.h"
#include "voxtrelle/audio/format_changes.h"

namespace voxtrelle {

int AudioClip::to_mono() {
  if (!store_.is_valid() || !store_.is_flat()) return 0;
  if (store_.is_mono()) return 1;
  if (!store_.mix_to_mono()) return 0;
  // The file side follows the store: one channel, half the bytes per frame.
  format_changes::to_mono(format_);
  if (format_.wFormatTag == kWaveFormatPcm) bytes_ = int64_t{frames_} * format_.nBlockAlign;
  return 1;
}

int AudioClip::to_stereo() {
  if (!store_.is_valid() || !store_.is_flat()) return 0;
  if (store_.is_stereo()) return 1;
  // The doubled data must still fit a WAV file's 32-bit data size.
  if (!format_changes::stereo_fits(frames_, format_.nBlockAlign)) return 0;
  if (!store_.duplicate_to_stereo()) return 0;
  format_changes::to_stereo(format_);
  if (format_.wFormatTag == kWaveFormatPcm) bytes_ = int64_t{frames_} * format_.nBlockAlign;
  return 1;
}

}  // namespace voxtrelle
